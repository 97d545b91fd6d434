// The 60 Hz pacer.
#include "platform/gfx/frame_pacer.h"

#include <thread>

namespace platform::gfx {

FramePacer::Clock::duration FramePacer::wait() {
    const Clock::time_point start = Clock::now();
    if (next_ == Clock::time_point{} || start - next_ > 3 * period_) {
        next_ = start + period_;  // first frame, or a stall: no catching up
        return Clock::duration::zero();
    }
    const auto spin = std::chrono::microseconds(1500);
    if (next_ - start > spin) std::this_thread::sleep_for(next_ - start - spin);
    while (Clock::now() < next_) std::this_thread::yield();
    next_ += period_;
    return Clock::now() - start;
}

}  // namespace platform::gfx
