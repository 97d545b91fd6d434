// Effect: an in-place processor of interleaved stereo float blocks (the
// chorus of a music path, the reverb of the shared path).
#pragma once

#include <cstddef>

namespace platform::audio {

class Effect {
public:
    virtual ~Effect() = default;
    virtual void process(float* stereo, std::size_t frames) = 0;
    virtual void reset() = 0;  // forget every tail (delay lines to silence)
};

}  // namespace platform::audio
