// Image: a floating-point RGBA canvas with the drawing operations the
// texture painters use (antialiased polygons, discs, glows, gradients) and
// the conversion to the 8-bit pixels written to PNG.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

inline Color rgb(int r, int g, int b, float a = 1.0f) {
  return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}
Color mix(Color a, Color b, float t);
Color scaled(Color c, float k);  // colour times k, alpha kept

struct Vec2 {
  float x = 0, y = 0;
};

// A coverage mask (0..1 per pixel), e.g. rendered text.
struct Mask {
  int width = 0, height = 0;
  std::vector<float> v;
  Mask() = default;
  Mask(int w, int h) : width(w), height(h), v(size_t(w) * h, 0.0f) {}
  float at(int x, int y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : v[size_t(y) * width + x];
  }
  float& ref(int x, int y) { return v[size_t(y) * width + x]; }
};

Mask dilate(const Mask& m, float radius);      // grows the shape by radius pixels
Mask blur(const Mask& m, int radius);          // box blur, three passes
Mask padded(const Mask& m, int pad);           // adds an empty border

class Image {
 public:
  Image() = default;
  Image(int w, int h, Color fill = {0, 0, 0, 0});

  int width() const { return w_; }
  int height() const { return h_; }
  Color get(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  void set(int x, int y, Color c) { px_[size_t(y) * w_ + x] = c; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

  // Source-over compositing of colour c with extra coverage k.
  void blend(int x, int y, Color c, float k);
  // Adds light: colour times intensity, alpha raised to at least the intensity.
  void add(int x, int y, Color c, float k);

  void fill(Color c);
  void fillRect(float x0, float y0, float x1, float y1, Color c);
  void fillPolygon(const std::vector<Vec2>& pts, Color c);
  void fillPolygonWith(const std::vector<Vec2>& pts, const std::function<Color(float, float)>& paint);
  void fillCircle(float cx, float cy, float r, Color c);
  void ring(float cx, float cy, float r, float width, Color c);
  void line(float x0, float y0, float x1, float y1, float width, Color c);
  void glow(float cx, float cy, float radius, Color c, float strength = 1.0f);
  void verticalGradient(float y0, float y1, Color top, Color bottom);
  void drawMask(const Mask& m, int ox, int oy, const std::function<Color(int, int)>& paint);
  void drawMask(const Mask& m, int ox, int oy, Color c);
  void forEach(const std::function<Color(int, int, Color)>& f);

  // 8-bit pixels for PNG. RGB images: every pixel with alpha below one half
  // becomes exactly the key colour, the others are written opaque, and an
  // opaque pixel that would equal the key or touch a keyed pixel with a
  // near-key colour is pushed away from it (no halo). RGBA images: fully
  // transparent pixels become the key, the rest keep their alpha.
  std::vector<uint8_t> toBytes(bool withAlpha, uint32_t key, bool hasKey) const;

 private:
  int w_ = 0, h_ = 0;
  std::vector<Color> px_;
};

// Writes 8-bit RGB or RGBA PNG bytes; false on failure.
bool writePng(const std::string& path, int w, int h, bool withAlpha, const std::vector<uint8_t>& bytes);

// Deterministic noise for textures.
uint32_t hash32(uint32_t x);
float hashFloat(int x, int y, uint32_t seed);              // 0..1
float valueNoise(float x, float y, uint32_t seed);         // smooth, 0..1
float fbm(float x, float y, uint32_t seed, int octaves);   // 0..1
// Noise that tiles with the given period in x and y.
float tileNoise(float x, float y, int px, int py, uint32_t seed);
float tileFbm(float x, float y, int px, int py, uint32_t seed, int octaves);

// Small seeded generator (xorshift) for placement of stars, sparks and such.
class Rng {
 public:
  explicit Rng(uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
  uint32_t next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); }
  float range(float a, float b) { return a + (b - a) * uniform(); }

 private:
  uint32_t s_;
};

}  // namespace assetgen
