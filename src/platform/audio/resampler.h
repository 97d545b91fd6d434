// Resampler: band-limited reading of a PcmView at fractional positions, for
// sounds whose rate differs from the device's. A Kaiser-windowed sinc with
// 32 zero crossings each side (more when downsampling, with the cut-off
// lowered to the output's Nyquist rate), tabulated at 512 phases.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/pcm.h"

namespace platform::audio {

class Resampler {
public:
    Resampler(std::uint32_t sourceRate, std::uint32_t deviceRate);

    // Source frames advanced per output frame, in 32.32 fixed point.
    std::uint64_t step() const { return step_; }
    // The source's first two channels (mono on both) at frame + frac / 2^32.
    void read(const PcmView& src, std::uint64_t frame, std::uint32_t frac, float& left,
              float& right) const;

private:
    static constexpr int phases = 512;
    int half_;                  // taps each side of the position
    std::uint64_t step_;
    std::vector<float> table_;  // (phases + 1) rows of 2 * half_ taps
};

}  // namespace platform::audio
