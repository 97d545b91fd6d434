#include "audio/track_decoder.h"

#include <algorithm>

#include "platform/os.h"

namespace {
constexpr std::size_t maxWorkers = 4;  // one per track
}

void TrackDecoder::queue(std::size_t track, std::FILE* file) {
    std::lock_guard lock(mutex_);
    if (cancel_) {
        std::fclose(file);
        return;
    }
    jobs_.push_back({track, file});
    std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    if (running_ < std::min(cores, maxWorkers)) {
        ++running_;
        threads_.emplace_back([this] { work(); });
    }
}

void TrackDecoder::work() {
    // Start-up and the first frames come first; a track not ready when it
    // is wanted starts once it is (headless runs wait for it).
    platform::lowerThreadPriority();
    for (;;) {
        Job job;
        {
            std::lock_guard lock(mutex_);
            if (jobs_.empty() || cancel_) {
                --running_;
                return;
            }
            job = jobs_.front();
            jobs_.pop_front();
        }
        TrackImage image = decodeTrack(job.file, cancel_, maxBytes_);
        if (!cancel_) done_(job.track, std::move(image));
    }
}

void TrackDecoder::cancel() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        cancel_ = true;
        for (auto& job : jobs_) std::fclose(job.file);
        jobs_.clear();
        threads.swap(threads_);
    }
    for (auto& t : threads) t.join();
}
