#include "app/frame_timer.h"

#include "player/frame_rate_readout.h"

void FrameTimer::start() { startTime_ = platform::timeGetTime(); }

bool FrameTimer::endPass(platform::HWND, FrameRateReadout& readout) {
    now_ = platform::timeGetTime();
    // The unsigned 32-bit difference, widened without sign: a wrap of the
    // millisecond clock still gives the right elapsed time.
    const std::uint64_t elapsed = static_cast<std::uint32_t>(now_ - startTime_);
    // The loop runs with the floating-point unit in single precision, so the
    // product is rounded to a float before it is compared.
    const float due = static_cast<float>(passes_) * schedule;
    if (static_cast<double>(due) < static_cast<double>(elapsed)) platform::Sleep(1);
    if (static_cast<std::uint32_t>(now_ - startTime_) > 1000) {
        readout.setRate(passes_);
        passes_ = 0;
        startTime_ = platform::timeGetTime();
        return true;
    }
    return false;
}
