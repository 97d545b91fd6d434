// Image contact sheet: each texture decoded by the game's PNG loader, keyed
// with its colour key, and laid over a checkerboard at its own size, in the
// order of the pack table, packed into rows 2048 pixels wide.
#include <algorithm>
#include <vector>

#include "manifest.h"
#include "platform/gfx/png_image.h"
#include "sheets.h"
#include <fstream>

namespace gallery {

std::string writeImageSheet(const std::string& packDir, const std::string& outPng) {
  using namespace platform::gfx;
  struct Placed {
    MipLevel img;
    int x, y;
  };
  std::vector<Placed> placed;
  const int width = 2048, gap = 8;
  int x = gap, y = gap, rowH = 0;
  for (const assetgen::AssetEntry& e : assetgen::manifest()) {
    if (e.kind != assetgen::Kind::Texture && e.kind != assetgen::Kind::Icon) continue;
    std::ifstream f(packDir + "/" + e.path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    MipLevel img;
    bool alpha = false;
    if (!decodePng(bytes.data(), bytes.size(), img, alpha)) return "cannot read " + e.path;
    applyColorKey(img, e.kind == assetgen::Kind::Texture ? e.tex.key : 0);
    if (x + img.width + gap > width) x = gap, y += rowH + gap, rowH = 0;
    placed.push_back({std::move(img), x, y});
    x += placed.back().img.width + gap;
    rowH = std::max(rowH, placed.back().img.height);
  }
  const int height = y + rowH + gap;
  std::vector<std::uint8_t> rgb(size_t(width) * height * 3, 40);
  for (const Placed& p : placed)
    for (int j = 0; j < p.img.height; ++j)
      for (int i = 0; i < p.img.width; ++i) {
        const std::uint8_t* s = &p.img.rgba[(size_t(j) * p.img.width + i) * 4];
        std::uint8_t* d = &rgb[(size_t(p.y + j) * width + p.x + i) * 3];
        int check = ((i / 8) + (j / 8)) % 2 ? 200 : 150;
        for (int c = 0; c < 3; ++c) d[c] = std::uint8_t((s[c] * s[3] + check * (255 - s[3])) / 255);
      }
  return writePngRgb(outPng.c_str(), width, height, rgb) ? "" : "cannot write the sheet";
}

}  // namespace gallery
