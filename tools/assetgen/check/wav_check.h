// Reads a WAV file by the game's loader rules: a RIFF "WAVE" form whose
// first chunk is "fmt " with PCM format 1, then a "data" chunk anywhere
// after it. Samples come back as floats in -1..1, interleaved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct WavSound {
  int channels = 0, rate = 0, bits = 0, blockAlign = 0;
  uint32_t byteRate = 0;
  std::vector<float> samples;
  double seconds() const { return channels && rate ? double(samples.size()) / channels / rate : 0; }
};

bool readWav(const std::vector<uint8_t>& bytes, WavSound& out, std::string& error);

}  // namespace assetgen
