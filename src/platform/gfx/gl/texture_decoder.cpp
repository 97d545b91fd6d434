#include "platform/gfx/gl/texture_decoder.h"

#include "platform/gfx/png_image.h"
#include "platform/os.h"

namespace platform::gfx {

namespace {
// Colour times alpha, as the blending and the filtering expect.
void premultiply(MipLevel& level) {
    std::vector<std::uint8_t>& px = level.rgba;
    for (std::size_t p = 0; p + 3 < px.size(); p += 4)
        for (int c = 0; c < 3; ++c) px[p + c] = std::uint8_t((px[p + c] * px[p + 3] + 127) / 255);
}
}  // namespace

bool TextureDecoder::Job::done() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Done;
}

bool TextureDecoder::Job::run() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Waiting) return false;
        state_ = State::Running;
    }
    std::vector<MipLevel> levels = textureLevels(std::move(source_));
    for (MipLevel& l : levels) premultiply(l);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        levels_ = std::move(levels);
        source_ = TextureSource{};
        state_ = State::Done;
    }
    finished_.notify_all();
    return true;
}

std::vector<MipLevel> TextureDecoder::Job::take() {
    run();
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return state_ == State::Done; });
    return std::move(levels_);
}

TextureDecoder::~TextureDecoder() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

std::shared_ptr<TextureDecoder::Job> TextureDecoder::submit(TextureSource source) {
    auto job = std::make_shared<Job>(std::move(source));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(job);
        if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
    }
    wake_.notify_one();
    return job;
}

void TextureDecoder::work() {
    // The first frame's draws come first: a texture wanted before it is
    // made here is made by the GL thread on the spot.
    platform::lowerThreadPriority();
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job->run();  // a job already taken by the GL thread is skipped
    }
}

}  // namespace platform::gfx
