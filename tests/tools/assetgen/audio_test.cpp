// The pack's sounds and music: the formats the loaders accept, lengths
// that fit their use, audible, without an offset and with headroom for the
// mix, music without gaps and at one loudness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "check/ogg_check.h"
#include "check/wav_check.h"
#include "manifest.h"
#include "pack_files.h"

namespace assetgen {
namespace {

float peakOf(const std::vector<float>& s) {
  float p = 0;
  for (float x : s) p = std::max(p, std::fabs(x));
  return p;
}

// The mean of one channel of interleaved samples.
double meanOf(const std::vector<float>& s, int channels, int channel) {
  double sum = 0;
  for (size_t i = channel; i < s.size(); i += channels) sum += s[i];
  return s.empty() ? 0 : sum / double(s.size() / channels);
}

// Where each file must peak to leave the mix room: several effects and the
// music sound together, and the game's busiest moments must stay below
// -1 dBFS.
constexpr float kHeadroomPeak = 0.5f;  // -6 dBFS

double rmsOf(const std::vector<float>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

TEST(PackSounds, ReadByTheLoaderRulesInTheirListedFormatWithoutOffsetAndWithHeadroom) {
  int eightBit = 0, stereo = 0;
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Sound) continue;
    SCOPED_TRACE(e.path);
    WavSound w;
    std::string err;
    ASSERT_TRUE(readWav(test::readBytes(test::packDir() / e.path), w, err)) << err;
    EXPECT_EQ(w.rate, e.sound.rate);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100);
    EXPECT_EQ(w.bits, e.sound.bits);
    EXPECT_EQ(w.channels, e.sound.channels);
    EXPECT_GE(w.seconds(), e.sound.minSeconds);
    EXPECT_LE(w.seconds(), e.sound.maxSeconds);
    float peak = peakOf(w.samples);
    EXPECT_GT(peak, 0.08f) << "too quiet";
    EXPECT_LT(peak, kHeadroomPeak) << "leaves the mix no headroom";
    for (int c = 0; c < w.channels; ++c) EXPECT_LT(std::fabs(meanOf(w.samples, w.channels, c)), 0.001) << "offset";
    EXPECT_LT(std::fabs(w.samples.front()), 0.05f) << "starts with a click";
    EXPECT_LT(std::fabs(w.samples.back()), 0.05f) << "ends with a click";
    eightBit += w.bits == 8;
    stereo += w.channels == 2;
  }
  EXPECT_GE(eightBit, 1);
  EXPECT_GE(stereo, 1);
}

TEST(PackSounds, WavReaderKeepsTheLoaderRules) {
  WavSound w;
  std::string err;
  // fmt first, 16-bit mono, one frame.
  std::vector<uint8_t> ok = {'R', 'I', 'F', 'F', 38, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                             1,   0,   1,   0,   0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
                             'd', 'a', 't', 'a', 2, 0, 0, 0, 0xFF, 0x7F};
  ASSERT_TRUE(readWav(ok, w, err)) << err;
  EXPECT_EQ(w.rate, 22050);
  EXPECT_NEAR(w.samples.at(0), 1.0f, 1e-3f);
  std::vector<uint8_t> listFirst = ok;
  std::copy_n("LIST", 4, listFirst.begin() + 12);
  EXPECT_FALSE(readWav(listFirst, w = {}, err));
  std::vector<uint8_t> notPcm = ok;
  notPcm[20] = 3;
  EXPECT_FALSE(readWav(notPcm, w = {}, err));
  std::vector<uint8_t> truncated(ok.begin(), ok.end() - 1);
  EXPECT_FALSE(readWav(truncated, w = {}, err));
}

const std::map<std::string, OggTrack>& tracks() {
  static const std::map<std::string, OggTrack> all = [] {
    std::map<std::string, OggTrack> m;
    for (const AssetEntry& e : manifest()) {
      if (e.kind != Kind::Music) continue;
      OggTrack t;
      std::string err;
      if (decodeOgg((test::packDir() / e.path).string(), t, err)) m[e.path] = std::move(t);
    }
    return m;
  }();
  return all;
}

// One test for all music checks, so the tracks are decoded once.
TEST(PackMusic, DecodesAsStereoAtItsLengthWithoutGapsOffsetOrLevelJumpsAndWithHeadroom) {
  std::vector<double> levels;
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Music) continue;
    SCOPED_TRACE(e.path);
    ASSERT_TRUE(tracks().count(e.path)) << "does not decode";
    const OggTrack& t = tracks().at(e.path);
    EXPECT_EQ(t.channels, 2);
    EXPECT_EQ(t.rate, 44100);
    EXPECT_GE(t.seconds(), e.music.minSeconds);
    EXPECT_LE(t.seconds(), e.music.maxSeconds);
    EXPECT_LT(peakOf(t.samples), kHeadroomPeak) << "leaves the mix no headroom";
    for (int c = 0; c < 2; ++c) EXPECT_LT(std::fabs(meanOf(t.samples, 2, c)), 0.001) << "offset";
    const size_t second = size_t(t.rate) * t.channels;
    // Every second but the closing fade carries sound (within 18 dB of the
    // track's level).
    const double level = rmsOf(t.samples, 0, t.samples.size());
    for (size_t s = 0; s + 4 * second < t.samples.size(); s += second)
      EXPECT_GT(rmsOf(t.samples, s, s + second), level / 8) << "near silence at " << s / second << " s";
    // Left and right are not the same signal.
    double diff = 0;
    for (size_t i = 0; i + 1 < t.samples.size(); i += 2) diff += std::fabs(t.samples[i] - t.samples[i + 1]);
    EXPECT_GT(diff / (t.samples.size() / 2), 0.005);
    levels.push_back(20 * std::log10(rmsOf(t.samples, 0, t.samples.size())));
  }
  ASSERT_EQ(levels.size(), 4u);
  auto [lo, hi] = std::minmax_element(levels.begin(), levels.end());
  EXPECT_LT(*hi - *lo, 2.0) << "tracks differ in loudness by " << *hi - *lo << " dB";
}

}  // namespace
}  // namespace assetgen
