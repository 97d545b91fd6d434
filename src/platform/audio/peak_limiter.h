// PeakLimiter: the last stage of the mix, keeping it inside full scale.
// Below -1 dBFS it changes nothing, bit for bit. A louder peak lowers the
// gain at once (no look-ahead, so nothing is delayed), along a soft knee
// that never reaches the ceiling; the gain is held for a moment and then
// rises slowly back to exactly 1, so a loud passage is turned down rather
// than clipped. Both channels share one gain. Allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::audio {

class PeakLimiter {
public:
    static constexpr float threshold = 0.8912509f;  // -1 dBFS
    static constexpr float ceiling = 0.9772372f;    // -0.2 dBFS, never reached

    explicit PeakLimiter(std::uint32_t rate);
    // In place, on interleaved stereo.
    void process(float* stereo, std::size_t frames);
    float gain() const { return 1.f - cut_; }

private:
    std::uint32_t holdFrames_;
    float release_;  // per frame, the factor on the cut
    float cut_ = 0.f;  // 1 - gain: kept this way so it decays to 0 in floats
    std::uint32_t held_ = 0;
};

}  // namespace platform::audio
