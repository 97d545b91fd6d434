// The 60 Hz schedule.
#include "platform/gfx/frame_pacer.h"

#include <thread>

namespace platform::gfx {

bool FramePacer::beginFrame(Clock::time_point now) {
    if (!started_ || now - ended_ > stallSlots * period_) {
        slot_ = now;  // first frame, or no frame for a while: no catching up
        started_ = true;
        skipped_ = 0;
        return true;
    }
    // Frames slower than the schedule even when not drawn: the time lost
    // beyond a few slots is let go, so the game slows down instead of
    // rushing later.
    if (now - slot_ > stallSlots * period_) slot_ = now - stallSlots * period_;
    if (now - slot_ > period_ && skipped_ < maxSkipped) {
        ++skipped_;
        return false;
    }
    skipped_ = 0;
    return true;
}

FramePacer::Clock::duration FramePacer::endFrame(Clock::time_point now, bool paced) {
    if (!started_) beginFrame(now);
    ended_ = now;
    const Clock::time_point end = slot_ + period_;
    if (now >= end) {
        slot_ = end;
        return Clock::duration::zero();
    }
    slot_ = paced ? now : end;
    return paced ? Clock::duration::zero() : end - now;
}

FramePacer::Clock::duration FramePacer::wait(bool paced) {
    const Clock::duration d = endFrame(Clock::now(), paced);
    // A sleep, not a spin: the kernel wakes the thread within a fraction of
    // a millisecond, and an idle title should leave the processor idle.
    if (d > Clock::duration::zero()) std::this_thread::sleep_for(d);
    return d;
}

}  // namespace platform::gfx
