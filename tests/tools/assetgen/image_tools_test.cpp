// The painting tools: antialiased coverage, the keying rules that keep
// edges free of near-key fringes, tiling noise, and fitted text.
#include <gtest/gtest.h>

#include <cmath>

#include "gen/font.h"
#include "gen/image.h"

namespace assetgen {
namespace {

float coverage(const Image& img) {
  double a = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) a += img.get(x, y).a;
  return float(a);
}

TEST(ImageTools, PolygonsAndDiscsCoverTheirArea) {
  Image tri(64, 64);
  tri.fillPolygon({{4.3f, 5.1f}, {60.2f, 9.7f}, {20.5f, 58.9f}}, rgb(255, 0, 0));
  const float triArea = 0.5f * std::fabs((60.2f - 4.3f) * (58.9f - 5.1f) - (20.5f - 4.3f) * (9.7f - 5.1f));
  EXPECT_NEAR(coverage(tri), triArea, triArea * 0.01f);
  Image disc(64, 64);
  disc.fillCircle(32, 32, 20, rgb(0, 255, 0));
  EXPECT_NEAR(coverage(disc), 3.14159f * 400, 3.14159f * 400 * 0.01f);
  // Edges are antialiased: some pixels are partly covered.
  int partial = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) partial += disc.get(x, y).a > 0.05f && disc.get(x, y).a < 0.95f;
  EXPECT_GT(partial, 40);
  // Shapes reaching past the canvas are clipped, not wrapped.
  Image clip(16, 16);
  clip.fillRect(-10, -10, 8, 30, rgb(0, 0, 255));
  EXPECT_NEAR(coverage(clip), 8 * 16, 0.5f);
}

TEST(ImageTools, RgbBytesTurnThinCoverageIntoTheExactKey) {
  Image img(4, 1, {0, 0, 0, 0});
  img.set(1, 0, rgb(200, 100, 50, 0.4f));
  img.set(2, 0, rgb(200, 100, 50, 0.6f));
  img.set(3, 0, rgb(0, 0, 0));  // a visible pixel painted in the key colour itself
  auto b = img.toBytes(false, 0xFF000000u, true);
  EXPECT_EQ(b[0] + b[1] + b[2], 0);      // transparent: the key
  EXPECT_EQ(b[3] + b[4] + b[5], 0);      // under half coverage: the key
  EXPECT_EQ(b[6], 200);                  // over half: its own colour
  EXPECT_NE(b[9] + b[10] + b[11], 0);    // never the key by accident
}

TEST(ImageTools, PixelsBesideTheKeyKeepTheirDistance) {
  for (uint32_t key : {0xFF000000u, 0xFFFFFFFFu, 0xFFFEFEFEu}) {
    SCOPED_TRACE(key);
    const int k = key & 255;
    Image img(3, 3, {0, 0, 0, 0});
    Color nearKey = k > 127 ? rgb(250, 245, 240) : rgb(10, 20, 5);
    img.set(1, 1, nearKey);  // surrounded by keyed pixels
    auto b = img.toBytes(false, key, true);
    const uint8_t* p = &b[(1 * 3 + 1) * 3];
    int d = std::max({std::abs(p[0] - k), std::abs(p[1] - k), std::abs(p[2] - k)});
    EXPECT_GE(d, 48);
  }
  // Away from keyed pixels a dark or light colour is left alone.
  Image solid(3, 3, rgb(10, 20, 5));
  auto b = solid.toBytes(false, 0xFF000000u, true);
  EXPECT_EQ(b[12], 10);
}

TEST(ImageTools, RgbaBytesKeepSoftAlphaAndKeyOnlyEmptyPixels) {
  Image img(2, 1, {0, 0, 0, 0});
  img.set(1, 0, rgb(255, 128, 0, 0.25f));
  auto b = img.toBytes(true, 0xFF000000u, true);
  EXPECT_EQ(b[3], 255);  // an empty pixel becomes the opaque key
  EXPECT_EQ(b[0] + b[1] + b[2], 0);
  EXPECT_EQ(b[7], 64);   // soft pixels keep their alpha
  EXPECT_EQ(b[4], 255);
}

TEST(ImageTools, TilingNoiseRepeatsWithItsPeriod) {
  for (float x : {0.3f, 2.7f, 5.5f})
    for (float y : {0.1f, 3.9f}) {
      EXPECT_NEAR(tileNoise(x, y, 8, 16, 3), tileNoise(x + 8, y, 8, 16, 3), 1e-5f);
      EXPECT_NEAR(tileNoise(x, y, 8, 16, 3), tileNoise(x, y + 16, 8, 16, 3), 1e-5f);
      EXPECT_NEAR(tileFbm(x, y, 8, 16, 3, 4), tileFbm(x + 8, y + 16, 8, 16, 3, 4), 1e-5f);
    }
  float lo = 1, hi = 0;
  for (int i = 0; i < 500; ++i) {
    float v = fbm(i * 0.37f, i * 0.11f, 9, 4);
    lo = std::min(lo, v), hi = std::max(hi, v);
  }
  EXPECT_GE(lo, 0.0f);
  EXPECT_LE(hi, 1.0f);
  EXPECT_GT(hi - lo, 0.3f);  // it actually varies
}

TEST(ImageTools, TextRendersAndFitsItsWidth) {
  Mask one = renderText(Face::SansBold, "HITS", 22), two = renderText(Face::SansBold, "HITS HITS", 22);
  EXPECT_GT(one.width, 30);
  EXPECT_GT(two.width, one.width * 2 - 5);
  EXPECT_NEAR(one.height, two.height, 1);
  Mask fitted = renderFitted(Face::Sans, "A caption far too long for a narrow box", 24, 200);
  EXPECT_LE(fitted.width, 200);
  Mask padded = renderText(Face::Sans, "x", 20, 5);
  EXPECT_FLOAT_EQ(padded.at(0, 0), 0.0f);
  EXPECT_EQ(dilate(padded, 2).width, padded.width);
}

}  // namespace
}  // namespace assetgen
