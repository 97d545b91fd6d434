// FramePacer: holds presents to 60 per second where vsync does not (displays
// at 120 or 144 Hz, or no vsync). It sleeps most of the wait and spins the
// last stretch, and starts afresh after a long stall instead of rushing.
#pragma once

#include <chrono>

namespace platform::gfx {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    explicit FramePacer(double framesPerSecond = 60.0)
        : period_(std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(1.0 / framesPerSecond))) {}

    // Waits until the next frame boundary; returns how long it waited.
    Clock::duration wait();
    // The boundary the next wait() aims at (for tests).
    Clock::time_point next() const { return next_; }
    Clock::duration period() const { return period_; }

private:
    Clock::duration period_;
    Clock::time_point next_{};
};

}  // namespace platform::gfx
