// Sound effects, synthesised: shot, explosion, radar ping, missile launch,
// siren, metal ping, picture slide, menu chime, game-over jingle and the
// two boss volleys.
#include <algorithm>
#include <cmath>

#include "gen/audio.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

constexpr int kRate = 22050;

std::vector<float> buffer(float seconds, int rate = kRate, int channels = 1) {
  return std::vector<float>(size_t(seconds * rate) * channels, 0.0f);
}

// Short fades at both ends so no effect starts or stops with a click.
void edges(std::vector<float>& s, int rate, int channels) {
  size_t n = s.size() / channels, in = size_t(0.002f * rate), out = size_t(0.01f * rate);
  for (size_t i = 0; i < n; ++i) {
    float k = std::min({1.0f, float(i) / in, float(n - 1 - i) / out});
    for (int c = 0; c < channels; ++c) s[i * channels + c] *= k;
  }
}

// No offset (a 20 Hz high-pass, then the mean that is left), clean ends,
// and the pack's effect level.
std::vector<uint8_t> finish(std::vector<float> s, int rate, int channels, int bits, float peak = kEffectPeak) {
  highPass(s, channels, 20, rate);
  edges(s, rate, channels);
  removeMean(s, channels);
  normalizePeak(s, peak);
  return encodeWav(s, rate, channels, bits);
}

// The player's shot plays every 20 frames for minutes on end, so it is a
// short, rounded "pew": a 6 ms attack, a falling triangle-and-square tone
// with little above 4 kHz, and a peak under the other effects. The two
// channels' tones are two cents apart and their breath of noise differs,
// which widens it a little without moving it off centre.
std::vector<uint8_t> laser() {
  auto s = buffer(0.2f, kRate, 2);
  for (int c = 0; c < 2; ++c) {
    Noise n(11 + c);
    Svf f;
    float ph = 0, detune = c ? 1.0006f : 0.9994f;
    for (size_t i = 0; i < s.size() / 2; ++i) {
      float t = float(i) / kRate;
      float hz = (330 + 1350 * std::exp(-t * 26)) * detune;
      ph += hz / kRate, ph -= std::floor(ph);
      f.set(1300 + 2700 * std::exp(-t * 22), 0.15f, kRate);
      float v = 0.75f * triOsc(ph) + 0.3f * squareOsc(ph, hz / kRate, 0.4f) + 0.05f * n.next();
      s[i * 2 + c] = f.low(v) * std::min(1.0f, t / 0.006f) * std::exp(-t * 17);
    }
  }
  return finish(s, kRate, 2, 16, kShotPeak);
}

// An explosion with weight: a sub thump falling from 95 to 34 Hz that rings
// for half a second under low-passed rumble and crackle. The thump sits in
// the middle; the rumble and crackle of each side come from their own noise,
// so the blast spreads across the field.
std::vector<uint8_t> explosion() {
  auto s = buffer(1.5f, kRate, 2);
  float ph = 0;
  for (size_t i = 0; i < s.size() / 2; ++i) {
    float t = float(i) / kRate;
    float hz = 34 + 61 * std::exp(-t * 7);
    ph += hz / kRate, ph -= std::floor(ph);
    float thump = std::sin(kTwoPi * ph) * std::exp(-t * 3.2f) * std::min(1.0f, t / 0.003f);
    s[i * 2] = s[i * 2 + 1] = 1.1f * thump;
  }
  for (int c = 0; c < 2; ++c) {
    Noise n(2 + 40 * c);
    Svf f, g, body;
    body.set(160, 0.3f, kRate);
    float crackle = 0;
    for (size_t i = 0; i < s.size() / 2; ++i) {
      float t = float(i) / kRate;
      float white = n.next();
      f.set(180 + 3200 * std::exp(-t * 5), 0.2f, kRate);
      float rumble = f.low(white) * std::exp(-t * 2.6f) + 1.6f * body.low(white) * std::exp(-t * 1.8f);
      if (n.next() > 0.986f) crackle = 1;
      crackle *= 0.93f;
      g.set(2600, 0.1f, kRate);
      float crack = g.band(n.next()) * crackle * std::exp(-t * 3.5f);
      float& v = s[i * 2 + c];
      v = std::tanh(1.5f * (v + 1.1f * rumble + 0.4f * crack));
    }
  }
  return finish(s, kRate, 2, 16);
}

std::vector<uint8_t> radarPing() {
  auto s = buffer(0.55f);
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate, v = 0;
    for (int echo = 0; echo < 3; ++echo) {
      float te = t - echo * 0.12f;
      if (te < 0) continue;
      v += std::pow(0.45f, float(echo)) * std::sin(kTwoPi * 1480 * te) * std::exp(-te * 22) * std::min(1.0f, te * 800);
      v += 0.3f * std::pow(0.45f, float(echo)) * std::sin(kTwoPi * 2960 * te) * std::exp(-te * 30);
    }
    s[i] = v;
  }
  return finish(s, kRate, 1, 8);
}

// The launch: a rising band of hiss over a low rumble. The rumble and most
// of the hiss are shared; a third of each side's hiss is its own noise.
std::vector<uint8_t> missileLaunch() {
  auto s = buffer(1.1f, kRate, 2);
  Noise shared(4), left(5), right(35);
  Svf f[3];
  OnePole lp;
  lp.set(150, kRate);
  for (size_t i = 0; i < s.size() / 2; ++i) {
    float t = float(i) / kRate;
    for (Svf& band : f) band.set(400 + 2600 * std::min(1.0f, t / 0.7f), 0.55f, kRate);
    float env = std::min(1.0f, t / 0.04f) * std::exp(-t * 2.4f);
    float common = f[0].band(shared.next()) * 0.8f + 3 * lp.run(shared.next());
    s[i * 2] = (common + 0.45f * f[1].band(left.next())) * env;
    s[i * 2 + 1] = (common + 0.45f * f[2].band(right.next())) * env;
  }
  return finish(s, kRate, 2, 16);
}

// The warning siren: a wailing square with a quieter voice an octave up,
// open to 4 kHz, so it cuts through shots, blasts and music; the two
// voices' edges fall together, so the peak stays near the square's.
std::vector<uint8_t> siren() {
  auto s = buffer(2.2f);
  float ph = 0;
  Svf f;
  f.set(4000, 0.15f, kRate);
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate;
    float cyc = std::fmod(t, 0.55f) / 0.55f;
    float hz = 620 + 420 * std::sin(3.14159f * cyc);
    ph += hz / kRate, ph -= std::floor(ph);
    float ph2 = 2 * ph - std::floor(2 * ph);
    s[i] = f.low(0.8f * squareOsc(ph, hz / kRate) + 0.25f * squareOsc(ph2, 2 * hz / kRate));
  }
  return finish(s, kRate, 1, 16, kSirenPeak);
}

std::vector<uint8_t> metalPing() {
  auto s = buffer(0.9f);
  const float ratios[] = {1.0f, 2.76f, 5.40f, 8.93f}, decay[] = {5, 8, 12, 18}, amp[] = {1, 0.6f, 0.35f, 0.2f};
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate, v = 0;
    for (int k = 0; k < 4; ++k) v += amp[k] * std::sin(kTwoPi * 1250 * ratios[k] * t) * std::exp(-t * decay[k]);
    s[i] = v * std::min(1.0f, t * 2000);
  }
  return finish(s, kRate, 1, 8);
}

std::vector<uint8_t> pictureSlide() {
  auto s = buffer(0.6f);
  Noise n(6);
  Svf f;
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate;
    f.set(500 + 5000 * t / 0.6f, 0.6f, kRate);
    float whoosh = f.band(n.next()) * std::sin(3.14159f * std::min(1.0f, t / 0.45f));
    float click = 0;
    for (float tc : {0.40f, 0.43f}) {
      float d = t - tc;
      if (d >= 0 && d < 0.02f) click += n.next() * std::exp(-d * 300) * 1.5f;
    }
    s[i] = 0.8f * whoosh + click;
  }
  return finish(s, kRate, 1, 16);
}

// Bell-like tone with a touch of FM, written into a stereo buffer.
void bell(std::vector<float>& s, int rate, float start, float hz, float len, float gain, float pan) {
  size_t i0 = size_t(start * rate), n = size_t(len * rate);
  for (size_t i = 0; i < n && (i0 + i) * 2 + 1 < s.size(); ++i) {
    float t = float(i) / rate;
    float mod = std::sin(kTwoPi * hz * 2.0f * t) * 1.5f * std::exp(-t * 6);
    float v = std::sin(kTwoPi * hz * t + mod) * std::exp(-t * 4) * std::min(1.0f, t * 500) * gain;
    s[(i0 + i) * 2] += v * (1 - pan);
    s[(i0 + i) * 2 + 1] += v * pan;
  }
}

std::vector<uint8_t> confirmChime() {
  const int rate = 44100;
  auto s = buffer(0.9f, rate, 2);
  const float notes[] = {76, 80, 83, 88};
  for (int k = 0; k < 4; ++k) bell(s, rate, k * 0.06f, midiHz(notes[k]), 0.9f - k * 0.06f, 0.5f, 0.3f + 0.13f * k);
  return finish(s, rate, 2, 16);
}

std::vector<uint8_t> gameOverJingle() {
  const int rate = 44100;
  auto s = buffer(3.6f, rate, 2);
  // A falling minor line over a low C minor chord.
  struct N {
    float start, len, midi;
  };
  const N line[] = {{0.0f, 0.3f, 67}, {0.3f, 0.3f, 65}, {0.6f, 0.3f, 63}, {0.9f, 0.45f, 62}, {1.35f, 1.9f, 60}};
  for (const N& nt : line) {
    float hz = midiHz(nt.midi);
    Svf f;
    float ph = 0, ph2 = 0;
    size_t i0 = size_t(nt.start * rate), n = size_t((nt.len + 0.3f) * rate);
    for (size_t i = 0; i < n && (i0 + i) * 2 + 1 < s.size(); ++i) {
      float t = float(i) / rate;
      ph += hz / rate, ph -= std::floor(ph);
      ph2 += hz * 1.004f / rate, ph2 -= std::floor(ph2);
      f.set(900 + 1800 * std::exp(-t * 3), 0.3f, float(rate));
      float v = f.low(sawOsc(ph, hz / rate) + sawOsc(ph2, hz / rate)) * adsr(t, nt.len, 0.01f, 0.2f, 0.6f, 0.3f) * 0.4f;
      s[(i0 + i) * 2] += v;
      s[(i0 + i) * 2 + 1] += v * 0.8f;
    }
  }
  for (float m : {36.0f, 43.0f, 48.0f, 51.0f, 55.0f}) {
    float hz = midiHz(m), ph = 0;
    size_t i0 = size_t(1.35f * rate);
    for (size_t i = 0; (i0 + i) * 2 + 1 < s.size(); ++i) {
      float t = float(i) / rate;
      ph += hz / rate, ph -= std::floor(ph);
      float v = triOsc(ph) * std::exp(-t * 1.2f) * std::min(1.0f, t * 20) * 0.18f;
      s[(i0 + i) * 2] += v * (m < 48 ? 1.0f : 0.7f);
      s[(i0 + i) * 2 + 1] += v * (m < 48 ? 0.7f : 1.0f);
    }
  }
  return finish(s, rate, 2, 16);
}

std::vector<uint8_t> cannonVolley() {
  auto s = buffer(1.3f);
  Noise n(8);
  Svf f;
  float ph = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate;
    float hz = 55 + 165 * std::exp(-t * 5);
    ph += hz / kRate, ph -= std::floor(ph);
    f.set(300 + 2500 * std::exp(-t * 6), 0.4f, kRate);
    float v = sawOsc(ph, hz / kRate) * 0.9f + f.low(n.next()) * 0.8f * std::exp(-t * 3);
    v *= 1 + 0.3f * std::sin(kTwoPi * 18 * t);
    s[i] = std::tanh(2.2f * v) * std::exp(-t * 2.6f) * std::min(1.0f, t * 300);
  }
  return finish(s, kRate, 1, 16);
}

std::vector<uint8_t> ringSweep() {
  auto s = buffer(1.8f, kRate, 2);
  float ph = 0;
  for (size_t i = 0; i < s.size() / 2; ++i) {
    float t = float(i) / kRate;
    float hz = 300 + 900 * std::sin(3.14159f * std::min(1.0f, t / 1.6f));
    ph += hz / kRate, ph -= std::floor(ph);
    float mod = std::sin(kTwoPi * ph * 2.0f) * 2.0f;
    float v = std::sin(kTwoPi * ph + mod) * std::sin(3.14159f * std::min(1.0f, t / 1.8f));
    float pan = 0.5f + 0.45f * std::sin(kTwoPi * 1.5f * t);
    s[i * 2] = v * (1 - pan);
    s[i * 2 + 1] = v * pan;
  }
  return finish(s, kRate, 2, 16);
}

}  // namespace

void addSpeech(Builders& b);

void addSounds(Builders& b) {
  b.files["w/pishun.wav"] = laser;
  b.files["w/bokaan.wav"] = explosion;
  b.files["w/radar.wav"] = radarPing;
  b.files["w/missile.wav"] = missileLaunch;
  b.files["w/silen.wav"] = siren;
  b.files["w/kin.wav"] = metalPing;
  b.files["w/camera.wav"] = pictureSlide;
  b.files["w/ok.wav"] = confirmChime;
  b.files["w/over.wav"] = gameOverJingle;
  b.files["w/boss.wav"] = cannonVolley;
  b.files["w/boss2.wav"] = ringSweep;
  addSpeech(b);
}

}  // namespace assetgen
