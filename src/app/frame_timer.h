// FrameTimer: counts main-loop passes, adds a 1 ms sleep while the loop runs
// behind a 60-per-second schedule, and once a second hands the pass count of
// that second to the frame-rate readout.
#pragma once

#include <cstdint>

#include "platform/os.h"

class FrameRateReadout;

class FrameTimer {
public:
    // Milliseconds per pass at 60 passes a second, as the single-precision
    // constant the schedule was written with (not 1000/60).
    static constexpr float schedule = 16.6666f;

    void clearPasses() { passes_ = 0; }
    void start();
    void countPass() { ++passes_; }
    // True when it handed a second's count to the readout.
    bool endPass(platform::HWND window, FrameRateReadout& readout);

    std::int32_t passes() const { return passes_; }

private:
    std::uint32_t startTime_ = 0;
    std::uint32_t now_ = 0;
    std::int32_t passes_ = 0;
};
