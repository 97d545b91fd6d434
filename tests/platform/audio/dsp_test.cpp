// The chorus and the reverb, measured on impulses and tones; the output
// limiter on quiet and loud passages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/audio/chorus.h"
#include "platform/audio/peak_limiter.h"
#include "platform/audio/reverb.h"

using namespace platform::audio;

namespace {

std::vector<float> impulseResponse(Effect& fx, std::size_t frames) {
    std::vector<float> buf(2 * frames, 0.f);
    buf[0] = buf[1] = 1.f;
    fx.process(buf.data(), frames);
    return buf;
}

std::size_t peakAfter(const std::vector<float>& buf, int channel, std::size_t from, std::size_t to) {
    std::size_t best = from;
    for (std::size_t i = from; i < to; ++i)
        if (std::abs(buf[2 * i + channel]) > std::abs(buf[2 * best + channel])) best = i;
    return best;
}

// When the echo of an impulse at frame `at` comes out: the delay is read
// as the echo leaves, so the echo time e solves e = delay(at + e).
double echoTime(std::size_t at, double leadCycles) {
    double e = 0.016 * 44100;
    for (int i = 0; i < 30; ++i)
        e = 0.016 * 44100 * (1 + 0.1 * std::sin(2 * M_PI * (1.1 * (double(at) + e) / 44100 + leadCycles)));
    return e;
}

double energy(const std::vector<float>& buf, std::size_t from, std::size_t to) {
    double e = 0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i) e += double(buf[i]) * buf[i];
    return e;
}

}  // namespace

TEST(Chorus, HalfDryHalfDelayedWithTheRightChannelAQuarterCycleAhead) {
    Chorus chorus(44100);
    auto ir = impulseResponse(chorus, 4000);
    EXPECT_FLOAT_EQ(ir[0], 0.5f);  // dry half
    EXPECT_FLOAT_EQ(ir[1], 0.5f);
    // Left oscillator starts at 0 (about 16 ms), right a quarter cycle on
    // (about 16 ms + 10 %).
    std::size_t l = peakAfter(ir, 0, 10, 1000), r = peakAfter(ir, 1, 10, 1000);
    EXPECT_NEAR(double(l), echoTime(0, 0), 1.0);
    EXPECT_NEAR(double(r), echoTime(0, 0.25), 1.0);
    EXPECT_GT(double(r) - double(l), 60);
    // The echo carries half the signal; the fed-back second echo a quarter of that.
    double first = std::abs(ir[2 * l]) + std::abs(ir[2 * l + 2]) + std::abs(ir[2 * l - 2]);
    std::size_t l2 = peakAfter(ir, 0, l + 100, 2 * l + 200);
    double second = std::abs(ir[2 * l2]) + std::abs(ir[2 * l2 + 2]) + std::abs(ir[2 * l2 - 2]);
    EXPECT_NEAR(first, 0.5, 0.05);
    EXPECT_NEAR(second / first, 0.25, 0.04);
}

TEST(Chorus, DelaySwingsByTenPercentAtOnePointOneHertz) {
    Chorus chorus(44100);
    // Feed impulses at known times; the left echo's delay follows
    // 16 ms * (1 + 0.1 sin(2 pi 1.1 t)).
    const std::size_t total = 44100;
    std::vector<float> buf(2 * total, 0.f);
    std::vector<std::size_t> at = {0, 9000, 20045, 30000};
    for (auto a : at) buf[2 * a] = 1.f;
    chorus.process(buf.data(), total);
    double shortest = 1e9, longest = 0;
    for (auto a : at) {
        std::size_t p = peakAfter(buf, 0, a + 500, a + 900);
        EXPECT_NEAR(double(p - a), echoTime(a, 0), 1.0) << "impulse at " << a;
        shortest = std::min(shortest, double(p - a));
        longest = std::max(longest, double(p - a));
    }
    EXPECT_GT(longest - shortest, 0.016 * 44100 * 0.15);  // most of the +-10 % swing
}

TEST(Chorus, ResetForgetsTheTail) {
    Chorus chorus(44100);
    impulseResponse(chorus, 100);
    chorus.reset();
    std::vector<float> silence(2 * 2000, 0.f);
    chorus.process(silence.data(), 2000);
    for (float x : silence) EXPECT_EQ(x, 0.f);
}

TEST(Reverb, TailFallsSixtyDecibelsInAboutASecond) {
    Reverb reverb(44100);
    auto ir = impulseResponse(reverb, 2 * 44100);
    EXPECT_FLOAT_EQ(ir[0], 1.f);  // dry signal passes unchanged
    // Energy per 100 ms window, early against one second later.
    double early = energy(ir, 4410, 8820), late = energy(ir, 4410 + 44100, 8820 + 44100);
    double drop = 10 * std::log10(early / late);
    EXPECT_GT(drop, 50);
    EXPECT_LT(drop, 80);
    // The two channels hear different rooms.
    double diff = 0;
    for (std::size_t i = 4410; i < 8820; ++i) diff += std::abs(ir[2 * i] - ir[2 * i + 1]);
    EXPECT_GT(diff, 0.01);
}

TEST(Reverb, StaysBoundedOnLoudSteadyInputAndResetSilencesIt) {
    Reverb reverb(44100);
    std::vector<float> buf(2 * 44100 * 4);
    for (std::size_t i = 0; i < buf.size() / 2; ++i)
        buf[2 * i] = buf[2 * i + 1] = std::sin(2 * M_PI * 220 * double(i) / 44100) > 0 ? 1.f : -1.f;
    reverb.process(buf.data(), buf.size() / 2);
    // After the room fills, the level holds: the second and fourth seconds match.
    auto peakOf = [&](std::size_t second) {
        float p = 0;
        for (std::size_t i = 2 * 44100 * second; i < 2 * 44100 * (second + 1); ++i) p = std::max(p, std::abs(buf[i]));
        return p;
    };
    EXPECT_LT(peakOf(3), 3.0f);
    EXPECT_NEAR(peakOf(3), peakOf(1), 0.05f * peakOf(1));
    reverb.reset();
    std::vector<float> silence(2 * 1000, 0.f);
    reverb.process(silence.data(), 1000);
    for (float x : silence) EXPECT_EQ(x, 0.f);
}

namespace {

// Stereo: a bass tone and a higher one on the left, the right at half.
std::vector<float> twoTones(std::size_t frames, float bass, float high) {
    std::vector<float> s(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        double t = double(i) / 44100;
        s[2 * i] = float(bass * std::sin(2 * M_PI * 55 * t) + high * std::sin(2 * M_PI * 1250 * t + 0.3));
        s[2 * i + 1] = 0.5f * s[2 * i];
    }
    return s;
}

// Processes in uneven blocks, as a device's callbacks come.
void limit(PeakLimiter& l, std::vector<float>& s) {
    for (std::size_t at = 0, n = 1; at < s.size() / 2; at += n, n = n * 7 % 1013 + 1)
        l.process(s.data() + 2 * at, std::min(n, s.size() / 2 - at));
}

}  // namespace

TEST(PeakLimiter, LeavesAnythingBelowMinusOneDecibelAsItIsBitForBit) {
    PeakLimiter limiter(44100);
    auto in = twoTones(3 * 44100, 0.5f, 0.39f);  // peaks just under 0.8913
    float peak = 0;
    for (float x : in) peak = std::max(peak, std::abs(x));
    ASSERT_GT(peak, 0.885f);
    ASSERT_LT(peak, PeakLimiter::threshold);
    auto out = in;
    limit(limiter, out);
    EXPECT_EQ(out, in);
    EXPECT_EQ(limiter.gain(), 1.f);
}

TEST(PeakLimiter, TurnsALoudPassageDownInsideFullScaleWithoutReshapingItThenLetsGo) {
    PeakLimiter limiter(44100);
    const std::size_t loud = 44100, quiet = 4 * 44100;
    auto in = twoTones(loud, 1.0f, 0.8f);  // up to 1.8, 5 dB over full scale
    auto after = twoTones(quiet, 0.4f, 0.3f);
    in.insert(in.end(), after.begin(), after.end());
    auto out = in;
    limit(limiter, out);
    int flat = 0;
    float lowest = 1, highest = 0;
    for (std::size_t i = 0; i < loud; ++i) {
        ASSERT_LT(std::abs(out[2 * i]), PeakLimiter::ceiling) << i;
        // No flat tops: three samples in a row at one level above the threshold.
        if (i >= 2 && std::abs(out[2 * i]) > PeakLimiter::threshold && out[2 * i] == out[2 * i - 2] &&
            out[2 * i - 2] == out[2 * i - 4])
            ++flat;
        if (std::abs(in[2 * i]) < 0.2f) continue;
        // One gain for both channels, so the picture stays where it was.
        const float g = out[2 * i] / in[2 * i];
        EXPECT_NEAR(out[2 * i + 1] / in[2 * i + 1], g, 1e-5f) << i;
        // Past the first 20 ms the gain only drifts: the tone is turned
        // down, not reshaped.
        if (i > 882) lowest = std::min(lowest, g), highest = std::max(highest, g);
    }
    EXPECT_EQ(flat, 0);
    EXPECT_LT(20 * std::log10(highest / lowest), 0.2f);
    EXPECT_LT(highest, 0.6f);  // about 5 dB down
    // After hold and release the gain is back at exactly 1: the last second
    // of the quiet passage is untouched.
    EXPECT_EQ(limiter.gain(), 1.f);
    EXPECT_TRUE(std::equal(out.end() - 2 * 44100, out.end(), in.end() - 2 * 44100));
}
