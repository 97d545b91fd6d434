#include "platform/audio/peak_limiter.h"

#include <algorithm>
#include <cmath>

namespace platform::audio {

namespace {

// The gain that brings a peak of p (above the threshold) onto the knee:
// the knee leaves the straight line with slope 1 and bends towards the
// ceiling without reaching it.
float kneeGain(float p) {
    constexpr float room = PeakLimiter::ceiling - PeakLimiter::threshold;
    const float over = (p - PeakLimiter::threshold) / room;
    return (PeakLimiter::threshold + room * over / (1.f + over)) / p;
}

}  // namespace

// Held for 40 ms, longer than a cycle of the lowest bass, so a steady loud
// tone keeps one gain instead of being reshaped every cycle; then back up
// with a time constant of 200 ms.
PeakLimiter::PeakLimiter(std::uint32_t rate)
    : holdFrames_(rate / 25), release_(static_cast<float>(std::exp(-1.0 / (0.2 * rate)))) {}

void PeakLimiter::process(float* stereo, std::size_t frames) {
    float cut = cut_;
    for (std::size_t i = 0; i < frames; ++i) {
        float* s = stereo + 2 * i;
        if (held_ > 0) {
            --held_;
        } else if (cut > 0.f) {
            cut *= release_;
            if (cut < 1e-5f) cut = 0.f;  // 0.0001 dB: back to bit-for-bit
        }
        const float peak = std::max(std::fabs(s[0]), std::fabs(s[1]));
        if (peak > threshold) {
            const float wanted = 1.f - kneeGain(peak);
            if (wanted >= cut) {
                cut = wanted;
                held_ = holdFrames_;
            }
        }
        if (cut > 0.f) {
            const float g = 1.f - cut;
            s[0] *= g;
            s[1] *= g;
        }
    }
    cut_ = cut;
}

}  // namespace platform::audio
