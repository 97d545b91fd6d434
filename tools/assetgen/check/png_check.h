// Reads a PNG back with libpng as the game's texture loader would see it:
// size, channel count, bit depth and 8-bit pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct PngImage {
  int width = 0, height = 0, channels = 0, bitDepth = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, `channels` bytes per pixel
  uint32_t argb(int x, int y) const;  // alpha 255 for RGB images
};

bool readPng(const std::string& path, PngImage& out, std::string& error);

}  // namespace assetgen
