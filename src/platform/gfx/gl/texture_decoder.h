// TextureDecoder: makes textures' mip levels (keyed, halved, premultiplied)
// on a thread of its own, in the order they were handed in, so that the GL
// thread only uploads them. A texture wanted before its turn is made on the
// spot by whoever wants it first.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

class TextureDecoder {
public:
    // One texture's work; the GL backend holds it until the levels are up.
    class Job {
    public:
        explicit Job(TextureSource source) : source_(std::move(source)) {}
        bool done() const;
        // The levels, making them here if no one has started; waits for
        // the decoder thread if it has.
        std::vector<MipLevel> take();

    private:
        friend class TextureDecoder;
        bool run();  // makes the levels unless someone has started; false if so

        mutable std::mutex mutex_;
        std::condition_variable finished_;
        enum class State { Waiting, Running, Done } state_ = State::Waiting;
        TextureSource source_;
        std::vector<MipLevel> levels_;
    };

    TextureDecoder() = default;
    TextureDecoder(const TextureDecoder&) = delete;
    TextureDecoder& operator=(const TextureDecoder&) = delete;
    ~TextureDecoder();  // stops after the job in hand; the rest are dropped

    // Queues the file; the thread starts with the first one.
    std::shared_ptr<Job> submit(TextureSource source);

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<Job>> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace platform::gfx
