// Montage: screenshots of play laid out in a grid at half size, each with
// its label above it, so two packs' pictures of the same frames can be put
// side by side (scripts/play_sheet writes the screenshots and the labels).
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "gen/font.h"
#include "platform/gfx/png_image.h"
#include "sheets.h"

namespace gallery {

std::string writeMontage(const std::vector<std::pair<std::string, std::string>>& cells, int columns,
                         const std::string& outPng) {
  using namespace platform::gfx;
  if (cells.empty() || columns < 1) return "nothing to lay out";
  const int cellW = 400, cellH = 300, labelH = 24, gap = 6;
  const int rows = (int(cells.size()) + columns - 1) / columns;
  const int width = gap + columns * (cellW + gap), height = gap + rows * (labelH + cellH + gap);
  std::vector<std::uint8_t> rgb(size_t(width) * height * 3, 24);
  for (size_t k = 0; k < cells.size(); ++k) {
    const int x0 = gap + int(k) % columns * (cellW + gap), y0 = gap + int(k) / columns * (labelH + cellH + gap);
    const auto& [label, file] = cells[k];
    assetgen::Mask text = assetgen::renderFitted(assetgen::Face::Sans, label, 15, cellW - 8);
    for (int j = 0; j < text.height && j < labelH; ++j)
      for (int i = 0; i < text.width; ++i) {
        float a = text.at(i, j);
        std::uint8_t* d = &rgb[(size_t(y0 + 4 + j) * width + x0 + 2 + i) * 3];
        for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(d[c] + (230 - d[c]) * a);
      }
    if (file.empty()) continue;  // a point this game never reached: its cell stays empty
    std::ifstream f(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    MipLevel img;
    bool alpha = false;
    if (!decodePng(bytes.data(), bytes.size(), img, alpha)) return "cannot read " + file;
    // Halved by averaging 2 x 2 pixels (a larger picture is cut to fit).
    for (int j = 0; j < cellH && 2 * j + 1 < img.height; ++j)
      for (int i = 0; i < cellW && 2 * i + 1 < img.width; ++i) {
        std::uint8_t* d = &rgb[(size_t(y0 + labelH + j) * width + x0 + i) * 3];
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx) sum += img.rgba[(size_t(2 * j + dy) * img.width + 2 * i + dx) * 4 + c];
          d[c] = std::uint8_t((sum + 2) / 4);
        }
      }
  }
  return writePngRgb(outPng.c_str(), width, height, rgb) ? "" : "cannot write the montage";
}

}  // namespace gallery
