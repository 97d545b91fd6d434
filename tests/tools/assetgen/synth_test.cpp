// The sound tools: the WAV writer's header, the filter's response and its
// stability at extreme settings, the limiter, offsets taken out, envelopes,
// scale degrees and an Ogg round trip.
#include <unistd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "audio/score.h"
#include "check/ogg_check.h"
#include "check/wav_check.h"
#include "gen/audio.h"

namespace assetgen {
namespace {

std::vector<float> sine(float hz, int rate, float seconds) {
  std::vector<float> s(size_t(rate * seconds));
  for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(kTwoPi * hz * i / rate);
  return s;
}

TEST(SynthTools, WavWriterRoundTripsInEachFormat) {
  for (int bits : {8, 16})
    for (int channels : {1, 2}) {
      std::vector<float> s = {0.0f, 0.5f, -0.5f, 0.25f};
      auto bytes = encodeWav(s, 22050, channels, bits);
      WavSound w;
      std::string err;
      ASSERT_TRUE(readWav(bytes, w, err)) << err;
      EXPECT_EQ(w.bits, bits);
      EXPECT_EQ(w.channels, channels);
      ASSERT_EQ(w.samples.size(), s.size());
      for (size_t i = 0; i < s.size(); ++i) EXPECT_NEAR(w.samples[i], s[i], bits == 8 ? 0.01f : 1e-4f);
      EXPECT_EQ(bytes.size() % 2, 0u);  // odd data is padded
    }
  // Values beyond full scale are clamped, not wrapped.
  WavSound w;
  std::string err;
  ASSERT_TRUE(readWav(encodeWav({1.7f, -1.7f}, 22050, 1, 16), w, err));
  EXPECT_GT(w.samples[0], 0.99f);
  EXPECT_LT(w.samples[1], -0.99f);
}

TEST(SynthTools, FilterPassesLowsCutsHighsAndNeverBlowsUp) {
  const int rate = 44100;
  auto run = [&](float hz, float cutoff, float res) {
    Svf f;
    f.set(cutoff, res, rate);
    std::vector<float> out;
    for (float x : sine(hz, rate, 0.2f)) out.push_back(f.low(x));
    return rms(out);
  };
  EXPECT_GT(run(100, 1000, 0.2f), 0.6f);
  EXPECT_LT(run(8000, 500, 0.2f), 0.02f);
  // Cutoffs at and past the top of the band with strong resonance stay finite.
  for (float cutoff : {5000.0f, 20000.0f, 1e6f})
    for (float res : {0.0f, 0.9f, 2.0f}) {
      float level = run(3000, cutoff, res);
      EXPECT_TRUE(std::isfinite(level)) << cutoff << " " << res;
      EXPECT_LT(level, 20.0f);
    }
}

TEST(SynthTools, LimiterIsMonotonicAndStaysUnderItsCeiling) {
  float prev = -2;
  for (float x = -3; x <= 3; x += 0.01f) {
    float y = softLimit(x, 0.6f, 0.95f);
    EXPECT_GE(y, prev);
    EXPECT_LT(std::fabs(y), 0.95f + 1e-6f);
    prev = y;
  }
  EXPECT_FLOAT_EQ(softLimit(0.5f, 0.6f, 0.95f), 0.5f);  // untouched below the knee
}

TEST(SynthTools, NarrowPulsesAndFinishedSoundsCarryNoOffset) {
  // A quarter-width pulse over whole cycles averages to nothing.
  double sum = 0;
  const int n = 44100;
  for (int i = 0; i < n; ++i) sum += squareOsc(std::fmod(i * 100.0f / n, 1.0f), 100.0f / n, 0.25f);
  EXPECT_NEAR(sum / n, 0.0, 1e-3);
  // A tone riding on an offset: the high-pass takes the offset out once it
  // settles, and removeMean takes the rest without touching either end.
  std::vector<float> s = sine(440, 22050, 0.5f);
  for (float& x : s) x = 0.3f * x - 0.2f;
  highPass(s, 1, 20, 22050);
  double tail = 0;
  for (size_t i = s.size() / 2; i < s.size(); ++i) tail += s[i];
  EXPECT_LT(std::fabs(tail / (s.size() / 2)), 0.02);
  removeMean(s, 1);
  sum = 0;
  for (float x : s) sum += x;
  EXPECT_LT(std::fabs(sum / s.size()), 1e-6);
  std::vector<float> stereo = {0.0f, 0.0f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.0f, 0.0f};
  removeMean(stereo, 2);
  EXPECT_EQ(stereo.front(), 0.0f);
  EXPECT_EQ(stereo.back(), 0.0f);
  EXPECT_NEAR(stereo[2] + stereo[4] + stereo[6], 0.0f, 1e-6f);
  EXPECT_NEAR(stereo[3] + stereo[5] + stereo[7], 0.0f, 1e-6f);
}

TEST(SynthTools, EnvelopeRisesHoldsAndReleases) {
  EXPECT_FLOAT_EQ(adsr(-0.1f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 0.0f);
  EXPECT_NEAR(adsr(0.05f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 0.5f, 1e-5f);
  EXPECT_NEAR(adsr(0.1f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 1.0f, 1e-5f);
  EXPECT_NEAR(adsr(0.8f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 0.5f, 1e-5f);
  EXPECT_NEAR(adsr(1.15f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 0.25f, 1e-5f);
  EXPECT_FLOAT_EQ(adsr(1.4f, 1, 0.1f, 0.2f, 0.5f, 0.3f), 0.0f);
  // A note released during its attack falls from where it got to (0.5).
  EXPECT_NEAR(adsr(0.075f, 0.05f, 0.1f, 0.2f, 0.5f, 0.1f), 0.375f, 1e-5f);
}

TEST(SynthTools, ScaleDegreesClimbAndFallByOctaves) {
  Key a = minorKey(57);
  EXPECT_EQ(a.midi(0), 57);
  EXPECT_EQ(a.midi(2), 60);   // C above A
  EXPECT_EQ(a.midi(7), 69);
  EXPECT_EQ(a.midi(9), 72);
  EXPECT_EQ(a.midi(-1), 55);  // G below
  EXPECT_EQ(a.midi(-7), 45);
  EXPECT_EQ(a.midi(-8), 43);
}

TEST(SynthTools, OggRoundTripKeepsLengthAndLevel) {
  std::vector<float> stereo;
  for (float x : sine(440, 44100, 1.5f)) stereo.push_back(0.5f * x), stereo.push_back(0.25f * x);
  auto bytes = encodeOgg(stereo, 44100, 2, 0.3f);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(encodeOgg(stereo, 44100, 2, 0.3f), bytes) << "encoding is not repeatable";
  auto path = std::filesystem::temp_directory_path() / ("assetgen-roundtrip-" + std::to_string(getpid()) + ".ogg");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  OggTrack t;
  std::string err;
  ASSERT_TRUE(decodeOgg(path.string(), t, err)) << err;
  std::filesystem::remove(path);
  EXPECT_EQ(t.channels, 2);
  EXPECT_NEAR(t.seconds(), 1.5, 0.01);
  std::vector<float> left, right;
  for (size_t i = 0; i + 1 < t.samples.size(); i += 2) left.push_back(t.samples[i]), right.push_back(t.samples[i + 1]);
  EXPECT_NEAR(rms(left), 0.5f / std::sqrt(2.0f), 0.02f);
  EXPECT_NEAR(rms(right), 0.25f / std::sqrt(2.0f), 0.02f);
}

}  // namespace
}  // namespace assetgen
