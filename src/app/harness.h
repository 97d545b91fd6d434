// Harness: what a scripted or test run adds around the main loop: the frame
// count, the end after N frames, and the JSON Lines trace written after each
// frame (to a file, and in a lockstep run as the answer on standard output).
// It works the same in a window and headless.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/json_writer.h"

namespace platform {
class HeadlessBackend;
}

// The trace's top-level groups that --trace-groups may name; frame, pass and
// ms are always written.
// `device` is the display's device calls, written inside `display`.
inline constexpr std::array<std::string_view, 10> traceGroupNames = {
    "input", "controlMode", "rate", "drawnRate", "boxes", "display", "device", "audio", "world", "player",
};
inline constexpr std::array<std::string_view, 3> traceAlwaysWritten = {"frame", "pass", "ms"};

class Harness {
public:
    struct Options {
        std::optional<std::uint64_t> frameLimit;  // end after this many frames
        std::string tracePath;                    // empty: no trace file
        bool lockstep = false;                    // answer each frame on stdout
        std::optional<std::vector<std::string>> traceGroups;  // nothing: every group
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
    // A lockstep line that could run no frame is answered with a short object.
    void answerWaiting(const char* reason);
    bool answer(std::string_view line);

    Options options_;
    platform::HeadlessBackend* headless_ = nullptr;
    std::FILE* trace_ = nullptr;
    JsonWriter writer_;               // reused for every frame
    std::vector<std::string> keep_;   // the top-level members written
    std::uint64_t frames_ = 0;
    std::uint64_t passes_ = 0;
};

extern Harness harness;

// The state of one frame for the trace: the shell's values (ms: the clock at
// the frame's end), then each owner's group (display, world, player, audio).
void writeFrameState(JsonWriter& w, std::uint64_t frame, std::uint64_t passes, std::uint32_t ms);
