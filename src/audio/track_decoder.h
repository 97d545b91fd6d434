// TrackDecoder: decodes queued music tracks on background threads (one per
// core, at most one per track), in the order they were queued, and hands
// each image to a callback on the thread that decoded it. Cancelling stops
// every decode at its next step and closes the files still waiting.
#pragma once

#include <atomic>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/track_image.h"

class TrackDecoder {
public:
    using Done = std::function<void(std::size_t track, TrackImage image)>;

    TrackDecoder(Done done, std::size_t maxBytes) : done_(std::move(done)), maxBytes_(maxBytes) {}
    ~TrackDecoder() { cancel(); }
    TrackDecoder(const TrackDecoder&) = delete;
    TrackDecoder& operator=(const TrackDecoder&) = delete;

    // Takes ownership of file.
    void queue(std::size_t track, std::FILE* file);
    // Returns once no decode runs; tracks not finished report nothing.
    void cancel();

private:
    struct Job {
        std::size_t track;
        std::FILE* file;
    };
    void work();

    Done done_;
    std::size_t maxBytes_;
    std::mutex mutex_;
    std::deque<Job> jobs_;
    std::vector<std::thread> threads_;
    std::size_t running_ = 0;  // workers that have not yet found the queue empty
    std::atomic<bool> cancel_{false};
};
