#include "platform/audio/resampler.h"

#include <algorithm>
#include <cmath>

namespace platform::audio {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int zeroCrossings = 32;
constexpr double kaiserBeta = 9.0;

// Modified Bessel function of the first kind, order 0 (series).
double besselI0(double x) {
    double sum = 1, term = 1, q = x * x / 4;
    for (int k = 1; k < 40; ++k) {
        term *= q / (double(k) * k);
        sum += term;
        if (term < sum * 1e-17) break;
    }
    return sum;
}

}  // namespace

Resampler::Resampler(std::uint32_t sourceRate, std::uint32_t deviceRate) {
    double ratio = double(sourceRate) / double(deviceRate);
    step_ = static_cast<std::uint64_t>(std::llround(ratio * 4294967296.0));
    // Cut-off relative to the source's Nyquist rate, a little below the
    // lower of the two rates so the transition band stays out of hearing.
    double cutoff = std::min(1.0, 1.0 / ratio) * 0.91;
    half_ = static_cast<int>(std::ceil(zeroCrossings / cutoff));
    int taps = 2 * half_;
    table_.assign(static_cast<std::size_t>(phases + 1) * taps, 0.f);
    double norm = besselI0(kaiserBeta);
    for (int p = 0; p <= phases; ++p) {
        double frac = double(p) / phases;
        float* row = &table_[static_cast<std::size_t>(p) * taps];
        double sum = 0;
        for (int i = 0; i < taps; ++i) {
            // Tap i weighs source frame (frame - half_ + 1 + i).
            double x = frac - (i - half_ + 1);
            double w = x / half_;
            double window = std::abs(w) >= 1 ? 0 : besselI0(kaiserBeta * std::sqrt(1 - w * w)) / norm;
            double arg = pi * cutoff * x;
            double sinc = x == 0 ? 1 : std::sin(arg) / arg;
            double h = cutoff * sinc * window;
            row[i] = static_cast<float>(h);
            sum += h;
        }
        // Unity gain at every phase, so constant signals stay constant.
        for (int i = 0; i < taps; ++i) row[i] = static_cast<float>(row[i] / sum);
    }
}

void Resampler::read(const PcmView& src, std::uint64_t frame, std::uint32_t frac, float& left,
                     float& right) const {
    int taps = 2 * half_;
    double pos = double(frac) * (double(phases) / 4294967296.0);
    int p = static_cast<int>(pos);
    float w = static_cast<float>(pos - p);
    const float* a = &table_[static_cast<std::size_t>(p) * taps];
    const float* b = a + taps;
    std::int64_t first = static_cast<std::int64_t>(frame) - half_ + 1;
    std::int64_t frames = static_cast<std::int64_t>(src.frames);
    int channels = src.channels;
    int second = channels > 1 ? 1 : 0;
    float l = 0, r = 0;
    int i0 = static_cast<int>(std::max<std::int64_t>(0, -first));
    int i1 = static_cast<int>(std::min<std::int64_t>(taps, frames - first));
    for (int i = i0; i < i1; ++i) {
        float h = a[i] + (b[i] - a[i]) * w;
        const std::int16_t* s = src.samples + (first + i) * channels;
        l += h * s[0];
        r += h * s[second];
    }
    left = l * (1.0f / 32768.0f);
    right = r * (1.0f / 32768.0f);
}

}  // namespace platform::audio
