#include "platform/audio/chorus.h"

#include <cmath>

namespace platform::audio {

Chorus::Chorus(std::uint32_t rate, ChorusParams params) : p_(params), rate_(rate) {
    double longest = p_.delayMs * (1 + p_.depth / 100.0) / 1000.0 * rate_;
    std::size_t size = static_cast<std::size_t>(std::ceil(longest)) + 4;
    line_[0].assign(size, 0.f);
    line_[1].assign(size, 0.f);
}

void Chorus::reset() {
    for (auto& l : line_) std::fill(l.begin(), l.end(), 0.f);
    write_ = 0;
    phase_ = 0;
}

float Chorus::oscillator(double phase) const {
    phase -= std::floor(phase);
    if (p_.sine) return static_cast<float>(std::sin(2 * 3.14159265358979323846 * phase));
    return static_cast<float>(phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase);
}

void Chorus::process(float* stereo, std::size_t frames) {
    const std::size_t size = line_[0].size();
    const float wet = p_.wetDryMix / 100.f;
    const float fb = p_.feedback / 100.f;
    const double baseDelay = p_.delayMs / 1000.0 * rate_;
    const double depth = p_.depth / 100.0;
    const double phaseStep = p_.frequency / rate_;
    const double lead = p_.phaseDegrees / 360.0;
    for (std::size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            double delay = baseDelay * (1 + depth * oscillator(phase_ + (c ? lead : 0)));
            double readPos = double(write_) + size - delay;
            std::size_t i0 = static_cast<std::size_t>(readPos);
            float frac = static_cast<float>(readPos - double(i0));
            const auto& line = line_[c];
            float a = line[i0 % size], b = line[(i0 + 1) % size];
            float delayed = a + (b - a) * frac;
            float& s = stereo[2 * i + c];
            line_[c][write_] = s + fb * delayed;
            s = (1 - wet) * s + wet * delayed;
        }
        write_ = (write_ + 1) % size;
        phase_ += phaseStep;
        if (phase_ >= 1) phase_ -= 1;
    }
}

}  // namespace platform::audio
