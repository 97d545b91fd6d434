// Reverb: the shared music path's room. Eight damped feedback combs in
// parallel and four all-passes in series per channel (the right channel's
// lines a little longer, for width), tuned to a decay time; the reverberant
// signal is added to the dry one at the mix level. The room hears the input
// through a gentle high-pass, so steady offsets do not build up in it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/effect.h"

namespace platform::audio {

struct ReverbParams {
    float decaySeconds = 1.0f;  // time for the tail to fall by 60 dB
    float mixDb = -10.0f;       // level of the reverberant signal
    float damping = 0.25f;      // high frequencies die out faster (0 none)
};

class Reverb final : public Effect {
public:
    explicit Reverb(std::uint32_t rate, ReverbParams params = {});
    void process(float* stereo, std::size_t frames) override;
    void reset() override;

private:
    struct Comb {
        std::vector<float> line;
        std::size_t at = 0;
        float gain = 0, low = 0;
    };
    struct AllPass {
        std::vector<float> line;
        std::size_t at = 0;
    };

    ReverbParams p_;
    float mix_;
    float inputGain_;    // broadband reverberant energy at the mix level
    float highPass_;     // one-pole coefficient
    float lastIn_ = 0, lastOut_ = 0;
    std::vector<Comb> combs_[2];
    std::vector<AllPass> passes_[2];
};

}  // namespace platform::audio
