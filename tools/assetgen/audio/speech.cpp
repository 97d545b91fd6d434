// The six spoken story lines. espeak-ng (Debian) speaks each line into a
// temporary WAV file that is read back and given a radio-transmission
// colour: band-limited, lightly saturated, with a short call chirp first.
// Without espeak-ng the line becomes a chirp and a murmur of filtered
// noise shaped like speech, so the pack is still complete.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "gen/audio.h"
#include "gen/pack.h"
#include "manifest.h"
#include "textures/story_text.h"

namespace assetgen {
namespace {

constexpr int kRate = 22050;
namespace fs = std::filesystem;

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Mono float samples and their rate from a 16-bit PCM WAV file.
bool readWav(const fs::path& path, std::vector<float>& out, int& rate) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF") return false;
  int channels = 1, bits = 16;
  for (size_t p = 12; p + 8 <= d.size();) {
    std::string id(d.begin() + p, d.begin() + p + 4);
    uint32_t len = le32(&d[p + 4]);
    // espeak-ng streams to its file, so the data length may read as unknown.
    if (id == "data" && (len == 0 || len == 0xFFFFFFFFu || p + 8 + len > d.size())) len = uint32_t(d.size() - p - 8);
    if (p + 8 + len > d.size()) return false;
    if (id == "fmt " && len >= 16) {
      channels = le16(&d[p + 10]);
      rate = int(le32(&d[p + 12]));
      bits = le16(&d[p + 22]);
    } else if (id == "data") {
      if (bits != 16) return false;
      for (size_t i = 0; i + 2 * channels <= len; i += 2 * channels)
        out.push_back(int16_t(le16(&d[p + 8 + i])) / 32768.0f);
      return !out.empty();
    }
    p += 8 + len + (len & 1);
  }
  return false;
}

bool speak(const std::string& text, int speed, std::vector<float>& out, int& rate) {
  static int counter = 0;
  std::string stem = "assetgen-speech-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
  fs::path dir = fs::temp_directory_path(), txt = dir / (stem + ".txt"), wav = dir / (stem + ".wav");
  {
    std::ofstream t(txt);
    t << text << "\n";
  }
  std::string cmd = "espeak-ng -v en-us+m3 -s " + std::to_string(speed) + " -p 38 -g 3 -f '" + txt.string() +
                    "' -w '" + wav.string() + "' >/dev/null 2>&1";
  bool ok = std::system(cmd.c_str()) == 0 && readWav(wav, out, rate);
  std::error_code ec;
  fs::remove(txt, ec);
  fs::remove(wav, ec);
  return ok;
}

// Stand-in when no speech engine is installed: syllable-shaped bursts.
std::vector<float> murmur(const std::string& text) {
  Noise n(7);
  Svf f;
  std::vector<float> s(size_t(kRate * (0.2f + 0.07f * text.size())), 0.0f);
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate;
    f.set(600 + 500 * std::sin(t * 9), 0.7f, kRate);
    float syll = std::max(0.0f, std::sin(t * 3.14159f * 6.5f));
    s[i] = f.band(n.next()) * syll;
  }
  return s;
}

std::vector<uint8_t> spokenLine(int index) {
  const AssetEntry* e = findAsset("w/sam" + std::to_string(index + 1) + ".wav");
  const float chirpLen = 0.12f, maxLen = e ? e->sound.maxSeconds - chirpLen - 0.05f : 5.0f;
  std::vector<float> voice;
  int rate = kRate;
  static std::mutex m;
  bool spoken = false;
  for (int speed = 150; speed <= 280 && !spoken; speed += 15) {
    voice.clear();
    std::lock_guard<std::mutex> lock(m);
    spoken = speak(storySpoken(index), speed, voice, rate) && float(voice.size()) / rate <= maxLen;
  }
  if (!spoken) voice = murmur(storySpoken(index)), rate = kRate;
  if (rate != kRate) {  // linear resampling to the pack's rate
    std::vector<float> r(size_t(voice.size() * double(kRate) / rate));
    for (size_t i = 0; i < r.size(); ++i) {
      double p = i * double(rate) / kRate;
      size_t k = size_t(p);
      float a = voice[std::min(k, voice.size() - 1)], b = voice[std::min(k + 1, voice.size() - 1)];
      r[i] = a + (b - a) * float(p - k);
    }
    voice.swap(r);
  }
  // Trim the engine's silence at both ends.
  auto loud = [](float x) { return std::fabs(x) > 0.01f; };
  auto first = std::find_if(voice.begin(), voice.end(), loud);
  auto last = std::find_if(voice.rbegin(), voice.rend(), loud).base();
  std::vector<float> v(first, std::max(first, last));
  // Radio colour.
  Svf hp, lp;
  hp.set(260, 0.1f, kRate);
  lp.set(3800, 0.2f, kRate);
  normalizePeak(v, 1.0f);
  for (float& x : v) x = std::tanh(1.8f * lp.low(hp.high(x)));
  std::vector<float> out(size_t(chirpLen * kRate), 0.0f);
  for (size_t i = 0; i < out.size(); ++i) {
    float t = float(i) / kRate;
    out[i] = 0.35f * std::sin(kTwoPi * (1700 + 2500 * t) * t) * (t < 0.07f ? 1.0f : 0.0f);
  }
  out.insert(out.end(), v.begin(), v.end());
  out.insert(out.end(), size_t(0.04f * kRate), 0.0f);
  size_t fade = size_t(0.01f * kRate);
  for (size_t i = 0; i < fade && i < out.size(); ++i) out[out.size() - 1 - i] *= float(i) / fade;
  removeMean(out, 1);  // the chirp and the saturation leave a little offset
  normalizePeak(out, kSpeechPeak);
  return encodeWav(out, kRate, 1, 16);
}

}  // namespace

void addSpeech(Builders& b) {
  for (int i = 0; i < 6; ++i) b.files["w/sam" + std::to_string(i + 1) + ".wav"] = [i] { return spokenLine(i); };
}

}  // namespace assetgen
