// Audio building blocks: WAV and Ogg Vorbis encoders, oscillators,
// envelopes, filters and noise shared by the sound effects and the music.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr float kTwoPi = 6.28318530718f;

// The pack's levels, chosen by measuring autopilot games on hard (bench/
// audio/levels) so that even their busiest moments, a boss's volleys over
// shots, explosions, radar pings and the music, stay below -1 dBFS: every
// sound effect peaks at kEffectPeak (the siren, a steady square wave, at
// kSirenPeak; the shot, heard three times a second, at kShotPeak), every
// music track is levelled to kMusicRms, and the spoken lines keep their
// place above the story music.
constexpr float kEffectPeak = 0.25f;   // -12 dBFS
constexpr float kShotPeak = 0.13f;     // -17.7 dBFS: the shot sounds every 20 frames
constexpr float kSirenPeak = 0.12f;    // -18.4 dBFS
constexpr float kMusicRms = 0.08f;     // -22 dBFS
constexpr float kSpeechPeak = 0.45f;   // -7 dBFS

// Interleaved float samples in -1..1.
std::vector<uint8_t> encodeWav(const std::vector<float>& samples, int rate, int channels, int bits);
// Ogg Vorbis of interleaved stereo samples, fixed stream serial so the bytes repeat.
std::vector<uint8_t> encodeOgg(const std::vector<float>& samples, int rate, int channels, float quality);

// Scales so the largest magnitude is `peak`.
void normalizePeak(std::vector<float>& s, float peak);
// Per channel of interleaved samples: a second-order (Butterworth) high-pass
// that takes out any steady offset and what lies below `cutoff`.
void highPass(std::vector<float>& s, int channels, float cutoff, int rate);
// Per channel: takes away the mean that is left, spread over the sound by
// a window that is zero at both ends (so nothing clicks); the mean is then 0.
void removeMean(std::vector<float>& s, int channels);
float rms(const std::vector<float>& s);
// Gentle limiter: linear below `knee`, a smooth curve up to `ceiling` above.
float softLimit(float x, float knee = 0.7f, float ceiling = 0.97f);

inline float midiHz(float m) { return 440.0f * std::pow(2.0f, (m - 69.0f) / 12.0f); }

// Band-limited-ish oscillators (polyBLEP) on a phase in 0..1, centred on 0
// (a narrow pulse has no offset).
float polyBlep(float t, float dt);
float sawOsc(float phase, float dt);
float squareOsc(float phase, float dt, float width = 0.5f);
inline float triOsc(float phase) { return 4.0f * std::fabs(phase - 0.5f) - 1.0f; }

// Deterministic white noise.
class Noise {
 public:
  explicit Noise(uint32_t seed) : s_(seed | 1u) {}
  float next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return (s_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
  }

 private:
  uint32_t s_;
};

// State-variable filter (trapezoidal, stable at any cutoff); cutoff in Hz,
// resonance 0..1.
class Svf {
 public:
  void set(float cutoff, float resonance, float rate);
  float low(float x) { step(x); return lp_; }
  float high(float x) { step(x); return hp_; }
  float band(float x) { step(x); return bp_; }

 private:
  void step(float x);
  float a1_ = 1, a2_ = 0, a3_ = 0, k_ = 2, ic1_ = 0, ic2_ = 0, lp_ = 0, bp_ = 0, hp_ = 0;
};

// One-pole smoothing low-pass.
class OnePole {
 public:
  void set(float cutoff, float rate) { a_ = 1.0f - std::exp(-kTwoPi * cutoff / rate); }
  float run(float x) { return y_ += a_ * (x - y_); }

 private:
  float a_ = 1, y_ = 0;
};

// Attack-decay-sustain-release level at time t of a note held for `hold` seconds.
float adsr(float t, float hold, float a, float d, float s, float r);

}  // namespace assetgen
