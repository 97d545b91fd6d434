// Sequencer, instruments, reverb and mastering of the music.
#include "audio/score.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "gen/audio.h"

namespace assetgen {

int Key::midi(int degree) const {
  int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
  int d = degree - oct * 7;
  return root + 12 * oct + steps[d];
}

Key minorKey(int root) { return {root, {0, 2, 3, 5, 7, 8, 10}}; }

Score::Score(float bpm, int bars, float tail) : bpm_(bpm), bars_(bars) {
  size_t n = size_t((seconds(bars * 4.0f) + tail) * kRate);
  l_.assign(n, 0);
  r_.assign(n, 0);
  sendL_.assign(n, 0);
  sendR_.assign(n, 0);
}

void Score::render(float startSec, int len, float pan, float send, const std::vector<float>& mono) {
  size_t i0 = size_t(startSec * kRate);
  float gl = std::cos(pan * 1.5708f), gr = std::sin(pan * 1.5708f);
  for (int i = 0; i < len && i0 + i < l_.size(); ++i) {
    float v = mono[i];
    l_[i0 + i] += v * gl;
    r_[i0 + i] += v * gr;
    sendL_[i0 + i] += v * gl * send;
    sendR_[i0 + i] += v * gr * send;
  }
}

void Score::note(Voice v, float beat, float beats, float midi, float vel, float pan) {
  const float hold = seconds(beats), hz = midiHz(midi), rate = float(kRate);
  float release = 0.15f, send = 0.25f;
  switch (v) {
    case Voice::Pad: release = 1.2f, send = 0.5f; break;
    case Voice::Bell: release = 1.5f, send = 0.45f; break;
    case Voice::Bass: case Voice::DriveBass: release = 0.06f, send = 0.05f; break;
    case Voice::Pluck: release = 0.3f, send = 0.35f; break;
    case Voice::Brass: release = 0.25f, send = 0.3f; break;
    case Voice::Lead: release = 0.2f, send = 0.3f; break;
  }
  int len = int((hold + release) * rate);
  std::vector<float> out(len);
  float ph[4] = {0, 0.31f, 0.57f, 0.83f};
  const float det[4] = {1.0f, 1.0046f, 0.9954f, 1.0089f};
  Svf f;
  // Exponential decays run as per-sample multipliers, and filter cutoffs are
  // refreshed every 16 samples: the music is tens of millions of samples.
  auto decay = [rate](float perSecond) { return std::exp(-perSecond / rate); };
  float e3 = 1, e5 = 1, e6 = 1, e9 = 1, e11 = 1, e18 = 1;
  const float k3 = decay(3), k5 = decay(5), k6 = decay(6), k9 = decay(9), k11 = decay(11), k18 = decay(1.8f);
  for (int i = 0; i < len; ++i, e3 *= k3, e5 *= k5, e6 *= k6, e9 *= k9, e11 *= k11, e18 *= k18) {
    float t = i / rate, s = 0;
    const bool refresh = (i & 15) == 0;
    switch (v) {
      case Voice::Lead: {
        float vib = t > 0.25f ? 1.0f + 0.012f * std::sin(kTwoPi * 5.5f * t) : 1.0f;
        for (int k = 0; k < 2; ++k) {
          float dt = hz * det[k] * vib / rate;
          ph[k] += dt, ph[k] -= std::floor(ph[k]);
          s += sawOsc(ph[k], dt) * 0.5f;
        }
        float dt = hz * 0.5f / rate;
        ph[2] += dt, ph[2] -= std::floor(ph[2]);
        s += squareOsc(ph[2], dt) * 0.3f;
        if (refresh) f.set(1400 + 3200 * e5 + 1500 * vel, 0.25f, rate);
        s = f.low(s) * adsr(t, hold, 0.01f, 0.25f, 0.75f, release) * 0.2f;
        break;
      }
      case Voice::Brass: {
        for (int k = 0; k < 3; ++k) {
          float dt = hz * det[k] / rate;
          ph[k] += dt, ph[k] -= std::floor(ph[k]);
          s += sawOsc(ph[k], dt) * 0.4f;
        }
        if (refresh) f.set(500 + 2600 * std::min(1.0f, t / 0.12f) * (0.7f + 0.3f * e18), 0.2f, rate);
        s = f.low(s) * adsr(t, hold, 0.04f, 0.3f, 0.8f, release) * 0.2f;
        break;
      }
      case Voice::Pad: {
        for (int k = 0; k < 4; ++k) {
          float dt = hz * det[k] / rate;
          ph[k] += dt, ph[k] -= std::floor(ph[k]);
          s += sawOsc(ph[k], dt) * 0.25f;
        }
        if (refresh) f.set(900 + 300 * std::sin(t * 0.8f), 0.15f, rate);
        s = f.low(s) * adsr(t, hold, 0.6f, 0.6f, 0.8f, release) * 0.1f;
        break;
      }
      case Voice::Bass:
      case Voice::DriveBass: {
        float dt = hz / rate;
        ph[0] += dt, ph[0] -= std::floor(ph[0]);
        ph[1] += dt * 0.5f, ph[1] -= std::floor(ph[1]);
        s = sawOsc(ph[0], dt) * 0.6f + squareOsc(ph[1], dt * 0.5f) * 0.5f;
        if (refresh) f.set(250 + 1700 * e11, 0.35f, rate);
        s = f.low(s);
        if (v == Voice::DriveBass) s = std::tanh(2.5f * s) * 0.7f;
        s *= adsr(t, hold, 0.004f, 0.12f, 0.65f, release) * 0.33f;
        break;
      }
      case Voice::Pluck: {
        float dt = hz / rate;
        ph[0] += dt, ph[0] -= std::floor(ph[0]);
        if (refresh) f.set(500 + 3500 * e9, 0.3f, rate);
        s = f.low(squareOsc(ph[0], dt, 0.25f)) * e6 * std::min(1.0f, t * 600) *
            (t > hold ? std::max(0.0f, 1 - (t - hold) / release) : 1.0f) * 0.13f;
        break;
      }
      case Voice::Bell: {
        float mod = std::sin(kTwoPi * hz * 3.5f * t) * 2.2f * e3;
        s = std::sin(kTwoPi * hz * t + mod) * e18 * std::min(1.0f, t * 400) *
            (t > hold ? std::max(0.0f, 1 - (t - hold) / release) : 1.0f) * 0.2f;
        break;
      }
    }
    out[i] = s * (0.5f + 0.5f * vel);
  }
  render(seconds(beat), len, pan, send, out);
}

void Score::drum(Drum d, float beat, float vel, float pan) {
  const float rate = float(kRate);
  float dur = 0.3f, send = 0.1f;
  switch (d) {
    case Drum::Crash: dur = 1.8f, send = 0.3f; break;
    case Drum::HatOpen: dur = 0.35f; break;
    case Drum::HatClosed: dur = 0.06f; break;
    case Drum::Tom: dur = 0.45f, send = 0.25f; break;
    case Drum::Snare: send = 0.25f; break;
    default: break;
  }
  int len = int(dur * rate);
  std::vector<float> out(len);
  Noise n(uint32_t(beat * 997) + uint32_t(d) * 7919);
  Svf f;
  float ph = 0;
  for (int i = 0; i < len; ++i) {
    float t = i / rate, s = 0;
    switch (d) {
      case Drum::Kick: {
        float hz = 45 + 120 * std::exp(-t * 32);
        ph += hz / rate, ph -= std::floor(ph);
        s = std::sin(kTwoPi * ph) * std::exp(-t * 7) + 0.3f * n.next() * std::exp(-t * 300);
        s = std::tanh(1.5f * s) * 0.9f;
        break;
      }
      case Drum::Snare: {
        ph += 190 / rate, ph -= std::floor(ph);
        if (i == 0) f.set(1900, 0.3f, rate);
        s = 0.35f * std::sin(kTwoPi * ph) * std::exp(-t * 22) + 0.75f * f.band(n.next()) * std::exp(-t * 13);
        s *= 0.8f;
        break;
      }
      case Drum::Rim: {
        if (i == 0) f.set(2600, 0.6f, rate);
        s = f.band(n.next()) * std::exp(-t * 60) * 0.7f;
        break;
      }
      case Drum::HatClosed:
      case Drum::HatOpen: {
        if (i == 0) f.set(7500, 0.2f, rate);
        s = f.high(n.next()) * std::exp(-t * (d == Drum::HatClosed ? 70.0f : 11.0f)) * 0.3f;
        break;
      }
      case Drum::Crash: {
        if (i == 0) f.set(4500, 0.1f, rate);
        s = f.high(n.next()) * std::exp(-t * 2.2f) * 0.3f;
        break;
      }
      case Drum::Tom: {
        float hz = 90 + 80 * std::exp(-t * 12);
        ph += hz / rate, ph -= std::floor(ph);
        s = std::sin(kTwoPi * ph) * std::exp(-t * 7) * 0.7f;
        break;
      }
    }
    out[i] = s * vel * std::min(1.0f, (len - i) / (0.005f * rate));
  }
  render(seconds(beat), len, pan, send, out);
}

namespace {
int parseDegree(const std::string& tok, int& pos) {
  int d = 0;
  while (pos < int(tok.size()) && std::isdigit(static_cast<unsigned char>(tok[pos]))) d = d * 10 + (tok[pos++] - '0');
  return d;
}
}  // namespace

void Score::melody(Voice v, const Key& k, float beat, const std::string& tokens, int octave, float vel,
                   float pan, float step) {
  std::vector<std::string> toks;
  std::string cur;
  for (char c : tokens + " ") {
    if (c == ' ' || c == '|') {
      if (!cur.empty()) toks.push_back(cur), cur.clear();
    } else {
      cur += c;
    }
  }
  for (size_t i = 0; i < toks.size(); ++i) {
    const std::string& t = toks[i];
    if (t == "-" || t == ".") continue;
    int pos = 0, deg = parseDegree(t, pos), semis = 0;
    for (; pos < int(t.size()); ++pos) {
      if (t[pos] == '\'') deg += 7;
      if (t[pos] == ',') deg -= 7;
      if (t[pos] == '#') ++semis;
      if (t[pos] == 'b') --semis;
    }
    size_t j = i + 1;
    while (j < toks.size() && toks[j] == "-") ++j;
    float len = (j - i) * step * 0.95f;
    note(v, beat + i * step, len, float(k.midi(deg) + 12 * octave + semis), vel, pan);
  }
}

std::vector<int> Score::chordNotes(const Key& k, Chord c, int octave) const {
  int root = k.midi(c.degree) + 12 * octave;
  int third = c.quality == 'M' ? 4 : 3, fifth = c.quality == 'd' ? 6 : 7;
  return {root, root + third, root + fifth};
}

void Score::pads(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, int octave, float vel) {
  for (size_t i = 0; i < chords.size(); ++i) {
    std::vector<int> notes = chordNotes(k, chords[i], octave);
    notes.push_back(notes[0] + 12);
    float pan = 0.3f;
    for (int n : notes) note(v, (bar + i) * 4.0f, 3.9f, float(n), vel, pan), pan += 0.13f;
  }
}

void Score::bassLine(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, const std::string& pattern,
                     int octave, float vel) {
  for (size_t i = 0; i < chords.size(); ++i) {
    int root = k.midi(chords[i].degree) + 12 * octave;
    for (int s = 0; s < 16 && s < int(pattern.size()); ++s) {
      char c = pattern[s];
      if (c == '.') continue;
      int len = 1;
      while (s + len < int(pattern.size()) && pattern[s + len] == '-') ++len;
      int m = c == 'o' ? root + 12 : c == 'f' ? root + 7 : root;
      note(v, (bar + i) * 4.0f + s * 0.25f, len * 0.25f * 0.9f, float(m), vel, 0.5f);
    }
  }
}

void Score::arpeggio(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, int octave, float vel) {
  const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  for (size_t i = 0; i < chords.size(); ++i) {
    std::vector<int> n = chordNotes(k, chords[i], octave);
    n.push_back(n[0] + 12);
    for (int s = 0; s < 16; ++s)
      note(v, (bar + i) * 4.0f + s * 0.25f, 0.2f, float(n[order[s % 8]]), vel * (s % 4 == 0 ? 1.0f : 0.75f),
           0.25f + 0.5f * (s % 2));
  }
}

void Score::drumBar(int bar, const std::string& kick, const std::string& snare, const std::string& hats,
                    float vel) {
  for (int s = 0; s < 16; ++s) {
    float b = bar * 4.0f + s * 0.25f;
    auto hit = [&](const std::string& p, Drum d, Drum accent, float pan) {
      if (s >= int(p.size())) return;
      if (p[s] == 'x') drum(d, b, vel, pan);
      if (p[s] == 'X') drum(accent, b, vel * 1.1f, pan);
      if (p[s] == 'o') drum(Drum::HatOpen, b, vel * 0.8f, pan);
      if (p[s] == 'r') drum(Drum::Rim, b, vel * 0.8f, pan);
      if (p[s] == 't') drum(Drum::Tom, b, vel, pan);
    };
    hit(kick, Drum::Kick, Drum::Kick, 0.5f);
    hit(snare, Drum::Snare, Drum::Snare, 0.48f);
    hit(hats, Drum::HatClosed, Drum::HatOpen, 0.62f);
  }
}

std::vector<float> Score::master(float fadeOut) {
  // Reverb on the send bus: four damped combs and two all-passes per side.
  const int combs[4] = {1116, 1188, 1277, 1356}, alls[2] = {556, 441};
  std::vector<float> wetL(l_.size()), wetR(l_.size());
  for (int side = 0; side < 2; ++side) {
    const std::vector<float>& in = side ? sendR_ : sendL_;
    std::vector<float>& out = side ? wetR : wetL;
    for (int c = 0; c < 4; ++c) {
      std::vector<float> buf(combs[c] + side * 23, 0.0f);
      float store = 0;
      size_t p = 0;
      for (size_t i = 0; i < in.size(); ++i) {
        float y = buf[p];
        store = y * 0.7f + store * 0.3f;
        buf[p] = in[i] + store * 0.8f;
        out[i] += y * 0.25f;
        if (++p == buf.size()) p = 0;
      }
    }
    for (int a = 0; a < 2; ++a) {
      std::vector<float> buf(alls[a] + side * 23, 0.0f);
      size_t p = 0;
      for (float& x : out) {
        float b = buf[p];
        buf[p] = x + b * 0.5f;
        x = b - x;
        if (++p == buf.size()) p = 0;
      }
    }
  }
  std::vector<float> mix(l_.size() * 2);
  for (size_t i = 0; i < l_.size(); ++i) {
    mix[2 * i] = l_[i] + wetL[i] * 0.35f;
    mix[2 * i + 1] = r_[i] + wetR[i] * 0.35f;
  }
  // No offset or rumble below 20 Hz, the pack's loudness for every track,
  // then a soft ceiling 15 dB over it.
  highPass(mix, 2, 20, kRate);
  const float target = kMusicRms;
  float level = rms(mix);
  if (level > 0)
    for (float& x : mix) x = softLimit(x * target / level, 3.75f * target, 5.9f * target);
  size_t frames = l_.size(), fade = size_t(fadeOut * kRate), in = size_t(0.01f * kRate);
  for (size_t i = 0; i < frames; ++i) {
    float k = 1.0f;
    if (i < in) k = float(i) / in;
    if (i + fade > frames) k = std::min(k, float(frames - i) / fade);
    mix[2 * i] *= k;
    mix[2 * i + 1] *= k;
  }
  removeMean(mix, 2);  // what the ceiling's rounding of lopsided peaks left
  return mix;
}

}  // namespace assetgen
