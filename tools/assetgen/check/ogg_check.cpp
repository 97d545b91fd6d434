// Ogg Vorbis decoding for the pack's checks.
#include "check/ogg_check.h"

#include <vorbis/vorbisfile.h>

namespace assetgen {

bool decodeOgg(const std::string& path, OggTrack& out, std::string& error) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) < 0) return error = "not an Ogg Vorbis file", false;
  vorbis_info* vi = ov_info(&vf, -1);
  if (!vi) {
    ov_clear(&vf);
    return error = "no stream info", false;
  }
  out.channels = vi->channels;
  out.rate = vi->rate;
  char buf[16384];
  int section = 0;
  for (;;) {
    long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
    if (n == 0) break;
    if (n < 0) {
      ov_clear(&vf);
      return error = "decode error", false;
    }
    for (long i = 0; i + 1 < n; i += 2) out.samples.push_back(int16_t(uint8_t(buf[i]) | buf[i + 1] << 8) / 32768.0f);
  }
  ov_clear(&vf);
  return true;
}

}  // namespace assetgen
