#include "platform/audio/reverb.h"

#include <cmath>

namespace platform::audio {

namespace {

// Mutually prime line lengths at 44.1 kHz, scaled to the device rate.
constexpr int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int passLengths[4] = {556, 441, 341, 225};
constexpr int stereoSpread = 23;
constexpr float passGain = 0.5f;

std::size_t scaled(int length, std::uint32_t rate) {
    return static_cast<std::size_t>(std::lround(length * (rate / 44100.0))) + 1;
}

}  // namespace

Reverb::Reverb(std::uint32_t rate, ReverbParams params)
    : p_(params), mix_(static_cast<float>(std::pow(10.0, params.mixDb / 20.0))) {
    highPass_ = static_cast<float>(std::exp(-2 * 3.14159265358979323846 * 80.0 / rate));
    double combEnergy = 0;
    for (int c = 0; c < 2; ++c) {
        for (int len : combLengths) {
            Comb comb;
            comb.line.assign(scaled(len + c * stereoSpread, rate), 0.f);
            // Each trip round the loop loses its share of 60 dB per decay time.
            double trip = double(comb.line.size()) / rate;
            comb.gain = static_cast<float>(std::pow(10.0, -3.0 * trip / p_.decaySeconds));
            if (c == 0) combEnergy += 1 / (1 - double(comb.gain) * comb.gain);
            combs_[c].push_back(std::move(comb));
        }
        for (int len : passLengths) {
            AllPass pass;
            pass.line.assign(scaled(len + c * stereoSpread, rate), 0.f);
            passes_[c].push_back(std::move(pass));
        }
    }
    inputGain_ = static_cast<float>(1 / std::sqrt(combEnergy));
}

void Reverb::reset() {
    for (int c = 0; c < 2; ++c) {
        for (auto& comb : combs_[c]) {
            std::fill(comb.line.begin(), comb.line.end(), 0.f);
            comb.low = 0;
        }
        for (auto& pass : passes_[c]) std::fill(pass.line.begin(), pass.line.end(), 0.f);
    }
    lastIn_ = lastOut_ = 0;
}

void Reverb::process(float* stereo, std::size_t frames) {
    const float damp = p_.damping;
    for (std::size_t i = 0; i < frames; ++i) {
        // Both channels feed one room; each channel hears it through its own lines.
        float mono = (stereo[2 * i] + stereo[2 * i + 1]) * 0.5f;
        lastOut_ = highPass_ * (lastOut_ + mono - lastIn_);
        lastIn_ = mono;
        float in = lastOut_ * inputGain_;
        for (int c = 0; c < 2; ++c) {
            float sum = 0;
            for (auto& comb : combs_[c]) {
                float out = comb.line[comb.at];
                comb.low = out * (1 - damp) + comb.low * damp;
                comb.line[comb.at] = in + comb.low * comb.gain;
                if (++comb.at == comb.line.size()) comb.at = 0;
                sum += out;
            }
            for (auto& pass : passes_[c]) {
                float held = pass.line[pass.at];
                float out = held - sum;
                pass.line[pass.at] = sum + held * passGain;
                if (++pass.at == pass.line.size()) pass.at = 0;
                sum = out;
            }
            stereo[2 * i + c] += mix_ * sum;
        }
    }
}

}  // namespace platform::audio
