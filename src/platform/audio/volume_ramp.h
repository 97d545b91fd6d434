// VolumeRamp: a voice's level in hundredths of a decibel (0 full, -9600 the
// bottom of the scale), moving in a straight line in decibels from where it
// is to a target over a time counted in output frames.
#pragma once

#include <cmath>
#include <cstdint>

namespace platform::audio {

class VolumeRamp {
public:
    static constexpr long minLevel = -9600;
    // Levels at or below this are silence: the scale's last step.
    static constexpr long silentLevel = -9599;

    double levelAt(std::uint64_t frame) const {
        if (frame >= end_) return to_;
        if (frame <= start_) return from_;
        double t = double(frame - start_) / double(end_ - start_);
        return from_ + (to_ - from_) * t;
    }

    float gainAt(std::uint64_t frame) const {
        double level = levelAt(frame);
        if (level <= silentLevel) return 0.f;
        if (level >= 0) return 1.f;
        return static_cast<float>(std::pow(10.0, level / 2000.0));
    }

    bool constantFrom(std::uint64_t frame) const { return frame >= end_; }

    // Start moving from the level at frame `now` to target over `frames`.
    void set(long target, std::uint64_t now, std::uint64_t frames) {
        from_ = levelAt(now);
        to_ = static_cast<double>(target);
        start_ = now;
        end_ = now + frames;
        if (frames == 0) from_ = to_;
    }

private:
    double from_ = 0, to_ = 0;
    std::uint64_t start_ = 0, end_ = 0;
};

}  // namespace platform::audio
