// The mixer on its own: resampling quality, the volume ramp and the
// limit on what it puts out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/audio/mixer.h"

using platform::audio::Mixer;
using platform::audio::PcmView;

namespace {

PcmView view(const std::vector<std::int16_t>& s, int channels, std::uint32_t rate) {
    PcmView v;
    v.samples = s.data();
    v.frames = s.size() / channels;
    v.channels = channels;
    v.rate = rate;
    return v;
}

std::vector<std::int16_t> sine16(double hz, std::size_t frames, std::uint32_t rate, double amp) {
    std::vector<std::int16_t> s(frames);
    for (std::size_t i = 0; i < frames; ++i)
        s[i] = static_cast<std::int16_t>(std::lround(amp * 32767 * std::sin(2 * M_PI * hz * double(i) / rate)));
    return s;
}

std::vector<float> render(Mixer& m, std::size_t frames) {
    std::vector<float> out(2 * frames);
    m.mix(out.data(), frames);
    return out;
}

// Amplitude of the hz component of the left channel over [from, to), and
// the RMS of what is left after removing it.
void analyse(const std::vector<float>& out, double hz, std::uint32_t rate, std::size_t from, std::size_t to,
             double& amplitude, double& residual) {
    double s = 0, c = 0;
    for (std::size_t i = from; i < to; ++i) {
        double ph = 2 * M_PI * hz * double(i) / rate;
        s += out[2 * i] * std::sin(ph);
        c += out[2 * i] * std::cos(ph);
    }
    double n = double(to - from);
    double a = 2 * s / n, b = 2 * c / n;
    amplitude = std::hypot(a, b);
    double err = 0;
    for (std::size_t i = from; i < to; ++i) {
        double ph = 2 * M_PI * hz * double(i) / rate;
        double e = out[2 * i] - (a * std::sin(ph) + b * std::cos(ph));
        err += e * e;
    }
    residual = std::sqrt(err / n);
}

}  // namespace

TEST(Mixer, UpsamplingKeepsATonePureAndItsLength) {
    Mixer m(44100);
    auto s = sine16(1000, 22050, 22050, 0.5);  // one second at 22.05 kHz
    auto v = m.createVoice(Mixer::Bus::Effects);
    m.setSource(v, view(s, 1, 22050));
    m.start(v, false);
    auto out = render(m, 44100 + 200);
    double amp, residual;
    analyse(out, 1000, 44100, 2000, 42000, amp, residual);
    EXPECT_NEAR(amp, 0.5, 0.005);
    EXPECT_LT(20 * std::log10(residual / amp), -70);  // distortion and images far down
    // The sound lasts one second of output, give or take the filter's reach.
    EXPECT_GT(std::abs(out[2 * 44000]) + std::abs(out[2 * 43990]), 0.f);
    for (std::size_t i = 44100 + 40; i < 44100 + 200; ++i) EXPECT_EQ(out[2 * i], 0.f);
}

TEST(Mixer, DownsamplingRemovesWhatTheDeviceCannotCarry) {
    Mixer m(44100);
    // 48 kHz stereo: a 1 kHz tone on the left, 23 kHz (above 22.05 kHz) on the right.
    std::vector<std::int16_t> s(2 * 48000);
    auto low = sine16(1000, 48000, 48000, 0.5), high = sine16(23000, 48000, 48000, 0.5);
    for (std::size_t i = 0; i < 48000; ++i) {
        s[2 * i] = low[i];
        s[2 * i + 1] = high[i];
    }
    auto v = m.createVoice(Mixer::Bus::Effects);
    m.setSource(v, view(s, 2, 48000));
    m.start(v, false);
    auto out = render(m, 44100);
    double amp, residual;
    analyse(out, 1000, 44100, 2000, 42000, amp, residual);
    EXPECT_NEAR(amp, 0.5, 0.005);
    double rms = 0;
    for (std::size_t i = 2000; i < 42000; ++i) rms += out[2 * i + 1] * out[2 * i + 1];
    rms = std::sqrt(rms / 40000);
    EXPECT_LT(20 * std::log10(rms / 0.354), -60);  // the alias is gone
}

TEST(Mixer, VolumeRampFallsInDecibelsAndEndsInSilenceWhileTheVoiceRuns) {
    Mixer m(1000);  // one frame per millisecond
    std::vector<std::int16_t> s(20000, 16384);
    auto v = m.createVoice(Mixer::Bus::Music);
    m.setSource(v, view(s, 1, 1000));
    m.start(v, false);
    render(m, 100);
    m.setVolume(v, -9599, 5000);
    auto out = render(m, 6000);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    // Halfway: -48 dB.
    EXPECT_NEAR(20 * std::log10(out[2 * 2500] / 0.5), -48.0, 0.05);
    EXPECT_GT(out[2 * 4990], 0.f);
    for (std::size_t i = 5000; i < 6000; ++i) EXPECT_EQ(out[2 * i], 0.f);
    EXPECT_TRUE(m.playing(v));
    EXPECT_EQ(m.position(v), 6100u);
}

TEST(Mixer, KeepsWhatItPutsOutInsideFullScale) {
    Mixer m(44100);
    // Two voices of one tone at 0.75 sum to 1.5.
    auto s = sine16(220, 44100, 44100, 0.75);
    for (int k = 0; k < 2; ++k) {
        auto v = m.createVoice(k ? Mixer::Bus::Music : Mixer::Bus::Effects);
        m.setSource(v, view(s, 1, 44100));
        m.start(v, false);
    }
    auto out = render(m, 44100);
    float peak = 0;
    for (float x : out) peak = std::max(peak, std::abs(x));
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(peak, 0.89f);
}
