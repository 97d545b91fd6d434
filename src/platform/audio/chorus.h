// Chorus: the platform's standard chorus. Each channel runs through a delay
// line whose length swings around the base delay with a low-frequency
// oscillator (the right channel's oscillator leads by the phase), part of
// the delayed signal is fed back into the line, and dry and delayed signal
// are mixed.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/effect.h"

namespace platform::audio {

struct ChorusParams {
    float wetDryMix = 50;   // percent of delayed signal in the output
    float depth = 10;       // percent by which the delay swings
    float feedback = 25;    // percent of the delayed signal fed back
    float frequency = 1.1f; // oscillator, Hz
    bool sine = true;       // sine oscillator (else triangle)
    float delayMs = 16;
    int phaseDegrees = 90;  // right channel's oscillator lead
};

class Chorus final : public Effect {
public:
    explicit Chorus(std::uint32_t rate, ChorusParams params = {});
    void process(float* stereo, std::size_t frames) override;
    void reset() override;

private:
    float oscillator(double phase) const;  // -1 .. 1, phase in cycles

    ChorusParams p_;
    std::uint32_t rate_;
    std::vector<float> line_[2];
    std::size_t write_ = 0;
    double phase_ = 0;  // cycles
};

}  // namespace platform::audio
