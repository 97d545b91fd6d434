// The chorus and the reverb, measured on impulses and tones.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/audio/chorus.h"
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
