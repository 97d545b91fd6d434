// WAV/Ogg writers and DSP helpers.
#include "gen/audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

namespace assetgen {
namespace {
void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x & 255);
  v.push_back((x >> 8) & 255);
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}
void tag(std::vector<uint8_t>& v, const char* t) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(t[i]));
}
}  // namespace

std::vector<uint8_t> encodeWav(const std::vector<float>& s, int rate, int channels, int bits) {
  const uint32_t bytesPer = bits / 8, dataSize = uint32_t(s.size()) * bytesPer;
  std::vector<uint8_t> v;
  tag(v, "RIFF");
  put32(v, 4 + 8 + 16 + 8 + dataSize + (dataSize & 1));
  tag(v, "WAVE");
  tag(v, "fmt ");  // the format chunk comes first, as the loader requires
  put32(v, 16);
  put16(v, 1);
  put16(v, channels);
  put32(v, rate);
  put32(v, rate * channels * bytesPer);
  put16(v, channels * bytesPer);
  put16(v, bits);
  tag(v, "data");
  put32(v, dataSize);
  for (float x : s) {
    float c = std::clamp(x, -1.0f, 1.0f);
    if (bits == 8) {
      v.push_back(uint8_t(std::lround(c * 127.0f) + 128));
    } else {
      put16(v, uint16_t(int16_t(std::lround(c * 32767.0f))));
    }
  }
  if (dataSize & 1) v.push_back(0);
  return v;
}

std::vector<uint8_t> encodeOgg(const std::vector<float>& s, int rate, int channels, float quality) {
  std::vector<uint8_t> out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) return {};
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "ENCODER", "assetgen");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x7E570001);
  ogg_packet hdr, hdrComm, hdrCode;
  vorbis_analysis_headerout(&vd, &vc, &hdr, &hdrComm, &hdrCode);
  ogg_stream_packetin(&os, &hdr);
  ogg_stream_packetin(&os, &hdrComm);
  ogg_stream_packetin(&os, &hdrCode);
  ogg_page og;
  auto emit = [&] { out.insert(out.end(), og.header, og.header + og.header_len), out.insert(out.end(), og.body, og.body + og.body_len); };
  while (ogg_stream_flush(&os, &og)) emit();
  const size_t frames = s.size() / channels;
  const size_t chunk = 4096;
  bool eos = false;
  for (size_t pos = 0; !eos;) {
    size_t n = std::min(chunk, frames - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buf = vorbis_analysis_buffer(&vd, int(n));
      for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c) buf[c][i] = s[(pos + i) * channels + c];
      vorbis_analysis_wrote(&vd, int(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og)) {
          emit();
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
    if (n == 0) {
      while (ogg_stream_flush(&os, &og)) emit();
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

void normalizePeak(std::vector<float>& s, float peak) {
  float m = 0;
  for (float x : s) m = std::max(m, std::fabs(x));
  if (m <= 0) return;
  for (float& x : s) x *= peak / m;
}

void highPass(std::vector<float>& s, int channels, float cutoff, int rate) {
  for (int c = 0; c < channels; ++c) {
    Svf f;
    f.set(cutoff, 1.0f - 0.70710678f, float(rate));  // k = sqrt 2: Butterworth
    for (size_t i = c; i < s.size(); i += channels) s[i] = f.high(s[i]);
  }
}

void removeMean(std::vector<float>& s, int channels) {
  const size_t n = s.size() / channels;
  if (n < 3 || channels > 8) return;
  // Measured from the nearer end, so both ends are exactly 0.
  auto window = [n](size_t i) { return std::sin(3.14159265358979 * double(std::min(i, n - 1 - i)) / double(n - 1)); };
  double sum[8] = {}, wsum = 0;
  for (size_t i = 0; i < n; ++i) {
    wsum += window(i);
    for (int c = 0; c < channels; ++c) sum[c] += s[i * channels + c];
  }
  for (size_t i = 0; i < n; ++i) {
    const double w = window(i) / wsum;
    for (int c = 0; c < channels; ++c) s[i * channels + c] -= float(sum[c] * w);
  }
}

float rms(const std::vector<float>& s) {
  double sum = 0;
  for (float x : s) sum += double(x) * x;
  return s.empty() ? 0.0f : float(std::sqrt(sum / s.size()));
}

float softLimit(float x, float knee, float ceiling) {
  float a = std::fabs(x);
  if (a <= knee) return x;
  float room = ceiling - knee;
  float y = knee + room * std::tanh((a - knee) / room);
  return x < 0 ? -y : y;
}

float polyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

float sawOsc(float phase, float dt) { return 2.0f * phase - 1.0f - polyBlep(phase, dt); }

float squareOsc(float phase, float dt, float width) {
  float v = (phase < width ? 1.0f : -1.0f) - (2.0f * width - 1.0f);
  v += polyBlep(phase, dt);
  float p2 = phase + (1.0f - width);
  if (p2 >= 1.0f) p2 -= 1.0f;
  v -= polyBlep(p2, dt);
  return v;
}

void Svf::set(float cutoff, float resonance, float rate) {
  float g = std::tan(3.14159265f * std::clamp(cutoff, 10.0f, rate * 0.45f) / rate);
  k_ = 2.0f * (1.0f - std::clamp(resonance, 0.0f, 0.95f));
  a1_ = 1.0f / (1.0f + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

void Svf::step(float x) {
  float v3 = x - ic2_;
  float v1 = a1_ * ic1_ + a2_ * v3;
  float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2 * v1 - ic1_;
  ic2_ = 2 * v2 - ic2_;
  lp_ = v2;
  bp_ = v1;
  hp_ = x - k_ * v1 - v2;
}

float adsr(float t, float hold, float a, float d, float s, float r) {
  if (t < 0) return 0;
  float level;
  if (t < a)
    level = t / a;
  else if (t < a + d)
    level = 1.0f - (1.0f - s) * (t - a) / d;
  else
    level = s;
  if (t > hold) {
    float held = adsr(hold, hold + 1e9f, a, d, s, r);
    float k = 1.0f - (t - hold) / r;
    return k > 0 ? held * k : 0.0f;
  }
  return level;
}

}  // namespace assetgen
