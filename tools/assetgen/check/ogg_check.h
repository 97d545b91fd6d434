// Decodes an Ogg Vorbis file completely with vorbisfile, as the music
// player does at start-up.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct OggTrack {
  int channels = 0;
  long rate = 0;
  std::vector<float> samples;  // interleaved, -1..1 (16-bit decode)
  double seconds() const { return channels && rate ? double(samples.size()) / channels / rate : 0; }
};

bool decodeOgg(const std::string& path, OggTrack& out, std::string& error);

}  // namespace assetgen
