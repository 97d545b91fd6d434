// The pack's images: format and size, colour keys without halos, and each
// image composed for where it is drawn (full-screen pictures cover the
// screen, overlays stay on it, sheets keep to their cells).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "check/png_check.h"
#include "manifest.h"
#include "pack_files.h"

namespace assetgen {
namespace {

const std::map<std::string, PngImage>& images() {
  static const std::map<std::string, PngImage> all = [] {
    std::map<std::string, PngImage> m;
    for (const AssetEntry& e : manifest()) {
      if (e.kind != Kind::Texture && e.kind != Kind::Icon) continue;
      PngImage img;
      std::string err;
      if (readPng((test::packDir() / e.path).string(), img, err)) m[e.path] = std::move(img);
    }
    return m;
  }();
  return all;
}

bool isKey(const PngImage& img, const AssetEntry& e, int x, int y) { return img.argb(x, y) == e.tex.key; }

TEST(PackImages, DecodeAtTheirSizeAsEightBitRgbOrRgba) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Texture && e.kind != Kind::Icon) continue;
    SCOPED_TRACE(e.path);
    PngImage img;
    std::string err;
    ASSERT_TRUE(readPng((test::packDir() / e.path).string(), img, err)) << err;
    EXPECT_EQ(img.width, e.tex.width);
    EXPECT_EQ(img.height, e.tex.height);
    EXPECT_EQ(img.width & (img.width - 1), 0) << "width not a power of two";
    EXPECT_EQ(img.height & (img.height - 1), 0) << "height not a power of two";
    EXPECT_EQ(img.bitDepth, 8);
    EXPECT_EQ(img.channels, e.tex.alpha ? 4 : 3);
  }
}

TEST(PackImages, FullScreenPicturesCoverTheScreenWhereDrawn) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Texture || e.tex.placing != Placing::Cover) continue;
    SCOPED_TRACE(e.path);
    const PngImage& img = images().at(e.path);
    int holes = 0;
    for (int sy = 0; sy < 600; ++sy)
      for (int sx = 0; sx < 800; ++sx) {
        int tx = sx - e.tex.x, ty = sy - e.tex.y;
        if (tx < 0 || ty < 0 || tx >= img.width || ty >= img.height || isKey(img, e, tx, ty)) ++holes;
      }
    EXPECT_EQ(holes, 0) << "screen pixels left uncovered";
  }
}

TEST(PackImages, OverlaysKeepEverythingVisibleOnScreen) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Texture || e.tex.placing != Placing::Overlay) continue;
    SCOPED_TRACE(e.path);
    const PngImage& img = images().at(e.path);
    int visible = 0, outside = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        if (isKey(img, e, x, y)) continue;
        ++visible;
        float x0 = e.tex.x + x * e.tex.scale, y0 = e.tex.y + y * e.tex.scale;
        float x1 = x0 + e.tex.scale, y1 = y0 + e.tex.scale;
        if (x0 < 0 || y0 < 0 || x1 > 800.001f || y1 > 600.001f) ++outside;
      }
    EXPECT_GT(visible, 0) << "nothing visible";
    EXPECT_EQ(outside, 0) << "visible pixels off screen";
  }
}

// Pixels beside a keyed pixel must not be almost the key, or filtering
// would show a fringe of the key colour around the shape.
TEST(PackImages, KeyedEdgesHaveNoNearKeyFringe) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Texture) continue;
    SCOPED_TRACE(e.path);
    const PngImage& img = images().at(e.path);
    const int kr = (e.tex.key >> 16) & 255, kg = (e.tex.key >> 8) & 255, kb = e.tex.key & 255;
    int fringe = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        if (isKey(img, e, x, y)) continue;
        bool edge = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < img.width && ny < img.height && isKey(img, e, nx, ny)) edge = true;
          }
        if (!edge) continue;
        uint32_t c = img.argb(x, y);
        int d = std::max({std::abs(int((c >> 16) & 255) - kr), std::abs(int((c >> 8) & 255) - kg),
                          std::abs(int(c & 255) - kb)});
        if (d < 40) ++fringe;
      }
    EXPECT_EQ(fringe, 0) << "near-key pixels at keyed edges";
  }
}

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, n = 0;
  void add(int x, int y) { x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y), ++n; }
};

// Ink of each cell of a sheet; ink touching a cell's border counts as bleeding.
std::vector<Box> cellInk(const PngImage& img, const AssetEntry& e, int cell, int& bleeding) {
  std::vector<Box> boxes((img.width / cell) * (img.height / cell));
  bleeding = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      bool keyed = isKey(img, e, x, y) || (img.channels == 4 && (img.argb(x, y) >> 24) == 0);
      if (keyed) continue;
      boxes[(y / cell) * (img.width / cell) + x / cell].add(x % cell, y % cell);
      if (x % cell == 0 || y % cell == 0 || x % cell == cell - 1 || y % cell == cell - 1) ++bleeding;
    }
  return boxes;
}

TEST(PackImages, DigitSheetsPutTenCentredDigitsInTheirCells) {
  for (const char* path : {"t/score.png", "t/hitscore.png", "t/text.png"}) {
    SCOPED_TRACE(path);
    const AssetEntry& e = *findAsset(path);
    const PngImage& img = images().at(path);
    const int cell = img.width / e.tex.cellsX, perRow = e.tex.cellsX;
    EXPECT_EQ(cell, 32);
    int bleeding = 0;
    std::vector<Box> ink = cellInk(img, e, cell, bleeding);
    EXPECT_EQ(bleeding, 0);
    // Digits 0-7 on the top row, 8 and 9 at the start of the second.
    for (int d = 0; d < 10; ++d) {
      const Box& b = ink[d < 8 ? d : perRow + d - 8];
      EXPECT_GT(b.n, 25) << "digit " << d << " has no ink";
      EXPECT_NEAR((b.x0 + b.x1) / 2.0, cell / 2.0, 5) << "digit " << d;
      EXPECT_NEAR((b.y0 + b.y1) / 2.0, cell / 2.0, 5) << "digit " << d;
    }
    if (std::string(path) != "t/text.png") {
      for (size_t c = perRow + 2; c < ink.size(); ++c) EXPECT_EQ(ink[c].n, 0) << "stray ink in cell " << c;
    }
  }
}

float meanAlpha(const PngImage& img, const AssetEntry& e, int cx, int cy, int cell, float* extent) {
  double sum = 0;
  float far = 0;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      int px = cx * cell + x, py = cy * cell + y;
      if (isKey(img, e, px, py)) continue;
      float a = (img.argb(px, py) >> 24) / 255.0f;
      sum += a;
      if (a > 0.25f) far = std::max(far, std::hypot(x + 0.5f - cell / 2.0f, y + 0.5f - cell / 2.0f));
    }
  *extent = far;
  return float(sum / (cell * cell));
}

TEST(PackImages, ExplosionsBloomThenFadeOverSixteenCells) {
  for (const char* path : {"t/effect.png", "t/effect2.png"}) {
    SCOPED_TRACE(path);
    const AssetEntry& e = *findAsset(path);
    const PngImage& img = images().at(path);
    ASSERT_EQ(e.tex.cellsX, 4);
    const int cell = img.width / 4;
    int bleeding = 0;
    cellInk(img, e, cell, bleeding);
    EXPECT_EQ(bleeding, 0) << "frames run into each other";
    std::vector<float> alpha, extent(16);
    for (int f = 0; f < 16; ++f) alpha.push_back(meanAlpha(img, e, f % 4, f / 4, cell, &extent[f]));
    float peak = *std::max_element(alpha.begin(), alpha.end());
    EXPECT_GT(extent[6], extent[0] * 1.5f) << "the fireball does not grow";
    EXPECT_LT(alpha[15], peak * 0.5f) << "the last frame has not faded";
    for (int f = 0; f < 16; ++f) EXPECT_GT(alpha[f], 0.0f) << "empty frame " << f;
  }
}

TEST(PackImages, CorridorTilesAreOpaqueAndWrapAlongTheCorridor) {
  for (const char* path : {"t/back1.png", "t/back2.png", "t/back3.png", "t/back4.png"}) {
    SCOPED_TRACE(path);
    const AssetEntry& e = *findAsset(path);
    const PngImage& img = images().at(path);
    auto rowDiff = [&](int a, int b) {
      double s = 0;
      for (int x = 0; x < img.width; ++x)
        for (int sh : {0, 8, 16}) s += std::abs(int((img.argb(x, a) >> sh) & 255) - int((img.argb(x, b) >> sh) & 255));
      return s / (img.width * 3);
    };
    int keyed = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) keyed += isKey(img, e, x, y);
    EXPECT_EQ(keyed, 0) << "see-through holes in the corridor";
    // The wrap from the last row to the first must look like an ordinary
    // pair of neighbouring rows, not like an edge.
    std::vector<double> diffs;
    for (int y = 0; y + 1 < img.height; ++y) diffs.push_back(rowDiff(y, y + 1));
    std::sort(diffs.begin(), diffs.end());
    EXPECT_LE(rowDiff(img.height - 1, 0), diffs[diffs.size() * 9 / 10] + 1) << "visible seam where the tile wraps";
  }
}

TEST(PackImages, MenuHighlightsStandOutFromThePlainEntries) {
  for (const char* word : {"easy", "normal", "hard"}) {
    const PngImage& a = images().at(std::string("t/") + word + ".png");
    const PngImage& b = images().at(std::string("t/") + word + "2.png");
    int differ = 0;
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) differ += a.argb(x, y) != b.argb(x, y);
    EXPECT_GT(differ, a.width * a.height / 10) << word;
  }
}

TEST(PackImages, RadarMarksTheShipWhereItsOwnBlipLands) {
  // A blip for an enemy at the ship's place is drawn with its top-left at
  // (650, 493); blips are 8 x 8, so their centre is (654, 497) on screen.
  const AssetEntry& e = *findAsset("t/radar.png");
  const PngImage& radar = images().at("t/radar.png");
  int tx = int((654 - e.tex.x) / e.tex.scale), ty = int((497 - e.tex.y) / e.tex.scale);
  uint32_t mark = radar.argb(tx, ty), beside = radar.argb(tx + 12, ty + 12);
  auto lum = [](uint32_t c) { return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255); };
  EXPECT_GT(lum(mark), lum(beside) + 150) << "no bright mark at the scope's centre";
  for (const char* blip : {"t/enemy.png", "t/enemy2.png", "t/enemy3.png"}) {
    const PngImage& b = images().at(blip);
    const AssetEntry& be = *findAsset(blip);
    EXPECT_FALSE(isKey(b, be, 4, 4)) << blip;
    EXPECT_TRUE(isKey(b, be, 0, 0)) << blip;
  }
}

}  // namespace
}  // namespace assetgen

namespace assetgen {
namespace {

struct ScreenBox {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  bool overlaps(const ScreenBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// Where an overlay's visible pixels land on screen, drawn at (x, y).
ScreenBox visibleBox(const std::string& path, float x, float y) {
  const AssetEntry& e = *findAsset(path);
  const PngImage& img = images().at(path);
  ScreenBox b;
  for (int ty = 0; ty < img.height; ++ty)
    for (int tx = 0; tx < img.width; ++tx) {
      if (isKey(img, e, tx, ty)) continue;
      b.x0 = std::min(b.x0, x + tx * e.tex.scale), b.y0 = std::min(b.y0, y + ty * e.tex.scale);
      b.x1 = std::max(b.x1, x + (tx + 1) * e.tex.scale), b.y1 = std::max(b.y1, y + (ty + 1) * e.tex.scale);
    }
  return b;
}

TEST(PackImages, HudPartsDrawnTogetherDoNotCoverEachOther) {
  std::vector<std::pair<std::string, ScreenBox>> parts;
  for (const char* hp : {"t/hp1.png", "t/hp2.png", "t/hp3.png", "t/hp4.png", "t/hp1-2.png", "t/hp2-2.png"})
    parts.push_back({hp, visibleBox(hp, 60, 440)});
  for (int i = 0; i < 5; ++i) parts.push_back({"missile icon " + std::to_string(i), visibleBox("t/missile.png", 200 + 50.0f * i, 490)});
  parts.push_back({"radar", visibleBox("t/radar.png", 600, 440)});
  parts.push_back({"score frame", visibleBox("t/waku.png", 500, 20)});
  parts.push_back({"hit frame", visibleBox("t/hitwaku.png", 628, 80)});
  for (size_t i = 0; i < parts.size(); ++i)
    for (size_t j = i + 1; j < parts.size(); ++j) {
      bool bothGauges = parts[i].first.rfind("t/hp", 0) == 0 && parts[j].first.rfind("t/hp", 0) == 0;
      if (bothGauges) continue;
      EXPECT_FALSE(parts[i].second.overlaps(parts[j].second)) << parts[i].first << " covers " << parts[j].first;
    }
}

}  // namespace
}  // namespace assetgen
