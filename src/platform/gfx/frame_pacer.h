// FramePacer: the 60 Hz schedule of a window's frames. Each frame has a slot
// of 1/60 s; a frame that starts more than a slot late is not drawn (the game
// step still runs), so the game keeps its speed where drawing is slow, with
// at most maxSkipped such frames in a row. A frame done early waits for its
// slot to end. After a gap with no frames (a pause, a stall) the schedule
// starts afresh, and it never owes more than a few slots, so it never rushes
// to catch up.
#pragma once

#include <chrono>

namespace platform::gfx {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int maxSkipped = 3;    // frames in a row not drawn
    static constexpr int stallSlots = 6;    // the most slots it falls behind

    explicit FramePacer(double framesPerSecond = 60.0)
        : period_(std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(1.0 / framesPerSecond))) {}

    // At a frame's start: whether it is drawn.
    bool beginFrame(Clock::time_point now);
    // At the frame's end: how long it should wait for its slot to end (zero
    // when late); the next slot starts there. `paced` says the swap already
    // waited for the display: early frames then follow the display.
    Clock::duration endFrame(Clock::time_point now, bool paced = false);
    // Sleeps out endFrame(now) and returns how long it slept.
    Clock::duration wait(bool paced = false);

    Clock::duration period() const { return period_; }

private:
    Clock::duration period_;
    Clock::time_point slot_{};   // start of the current frame's slot
    Clock::time_point ended_{};  // when the last frame ended
    bool started_ = false;
    int skipped_ = 0;
};

}  // namespace platform::gfx
