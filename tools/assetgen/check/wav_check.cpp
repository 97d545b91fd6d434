// WAV reading for the pack's checks.
#include "check/wav_check.h"

#include <cstring>

namespace assetgen {
namespace {
uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
}  // namespace

bool readWav(const std::vector<uint8_t>& d, WavSound& out, std::string& error) {
  if (d.size() < 12 || std::memcmp(d.data(), "RIFF", 4) || std::memcmp(&d[8], "WAVE", 4))
    return error = "not a RIFF WAVE file", false;
  if (le32(&d[4]) + 8 != d.size()) return error = "RIFF size does not match the file", false;
  if (d.size() < 20 + 18 || std::memcmp(&d[12], "fmt ", 4)) return error = "first chunk is not fmt", false;
  uint32_t fmtLen = le32(&d[16]);
  if (fmtLen < 16) return error = "short fmt chunk", false;
  const uint8_t* f = &d[20];
  if (le16(f) != 1) return error = "not PCM", false;
  out.channels = le16(f + 2);
  out.rate = int(le32(f + 4));
  out.byteRate = le32(f + 8);
  out.blockAlign = le16(f + 12);
  out.bits = le16(f + 14);
  if (out.bits != 8 && out.bits != 16) return error = "not 8 or 16 bits", false;
  if (out.blockAlign != out.channels * out.bits / 8 || out.byteRate != uint32_t(out.rate * out.blockAlign))
    return error = "inconsistent block align or byte rate", false;
  for (size_t p = 20 + fmtLen + (fmtLen & 1); p + 8 <= d.size();) {
    uint32_t len = le32(&d[p + 4]);
    if (p + 8 + len > d.size()) return error = "chunk runs past the end", false;
    if (!std::memcmp(&d[p], "data", 4)) {
      if (len % out.blockAlign) return error = "data is not whole frames", false;
      const uint8_t* s = &d[p + 8];
      size_t n = len / (out.bits / 8);
      out.samples.resize(n);
      for (size_t i = 0; i < n; ++i)
        out.samples[i] = out.bits == 8 ? (int(s[i]) - 128) / 128.0f : int16_t(le16(s + 2 * i)) / 32768.0f;
      return true;
    }
    p += 8 + len + (len & 1);
  }
  return error = "no data chunk", false;
}

}  // namespace assetgen
