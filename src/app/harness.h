// Harness: what a scripted or test run adds around the main loop: the frame
// count, the end after N frames, and the JSON Lines trace written after each
// frame. It works the same in a window and headless.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

class JsonWriter;
namespace platform {
class HeadlessBackend;
}

class Harness {
public:
    struct Options {
        std::optional<std::uint64_t> frameLimit;  // end after this many frames
        std::string tracePath;                    // empty: no trace
    };

    ~Harness();

    // `headless` is the headless backend when there is one (it is told which
    // frame runs next). Returns false with `why` set if the trace can't be opened.
    bool configure(const Options& options, platform::HeadlessBackend* headless, std::string& why);

    // Called at the top of every loop pass.
    void notePass();
    // Called by the main loop right after each frame it runs.
    void afterFrame();

    std::uint64_t framesRun() const { return frames_; }
    std::uint64_t passes() const { return passes_; }

private:
    Options options_;
    platform::HeadlessBackend* headless_ = nullptr;
    std::FILE* trace_ = nullptr;
    std::uint64_t frames_ = 0;
    std::uint64_t passes_ = 0;
};

extern Harness harness;

// The state of one frame for the trace: the shell's values, then each
// owner's group (display, world, player, audio).
void writeFrameState(JsonWriter& w, std::uint64_t frame, std::uint64_t passes);
