// FrameTimes: the benchmark's view of a run with OpenGL. Headless, every
// frame is drawn off screen; in a window, as always. The wall time of each
// whole frame (game logic, drawing, the present and the GPU's finish) goes
// to a text file, one "FRAME MS DRAWS DRAWN" line each (DRAWN 0: a window's
// frame skipped while behind, its draw calls discarded), and the calendar time of
// the first present (a comment line) so that start-up can be measured from
// the launch.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform::gfx {

class FrameTimes {
public:
    FrameTimes() = default;
    FrameTimes(const FrameTimes&) = delete;
    FrameTimes& operator=(const FrameTimes&) = delete;
    ~FrameTimes();

    // Starts the file; false when it cannot be written.
    bool open(const std::string& path);
    bool active() const { return file_ != nullptr; }
    // Called after the frame's picture is finished: writes the time since
    // the previous frame was (the first frame counts from open) and the draw
    // calls made in between, and whether they were drawn.
    void frameDone(std::uint64_t frame, std::uint64_t drawCount, bool drawn);
    // Called by a window's backend the moment a picture is handed to the
    // window: the first one is the start-up's end (off screen, the end of
    // the first frame is).
    void shown();
    // Called when the new window is first painted (black, before the game
    // has a picture): writes the calendar time of it.
    void windowShown();
    // A comment line (what draws the frames, for one).
    void note(const std::string& line);

private:
    std::FILE* file_ = nullptr;
    std::chrono::steady_clock::time_point last_;
    std::uint64_t lastDraws_ = 0;
    bool firstDone_ = false;
    long long firstShownNs_ = -1;  // calendar time of the first picture shown
};

}  // namespace platform::gfx
