// Drawing operations of Image and the PNG writer.
#include "gen/image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

Color mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color scaled(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Image::Image(int w, int h, Color fill) : w_(w), h_(h), px_(size_t(w) * h, fill) {}

void Image::blend(int x, int y, Color c, float k) {
  if (!inside(x, y)) return;
  float sa = std::clamp(c.a * k, 0.0f, 1.0f);
  if (sa <= 0) return;
  Color& d = px_[size_t(y) * w_ + x];
  float oa = sa + d.a * (1 - sa);
  if (oa <= 0) return;
  float wd = d.a * (1 - sa) / oa, ws = sa / oa;
  d = {c.r * ws + d.r * wd, c.g * ws + d.g * wd, c.b * ws + d.b * wd, oa};
}

void Image::add(int x, int y, Color c, float k) {
  if (!inside(x, y) || k <= 0) return;
  Color& d = px_[size_t(y) * w_ + x];
  float e = c.a * k;
  if (d.a <= 0) {
    d = {c.r, c.g, c.b, std::min(1.0f, e)};
    return;
  }
  // Light on a transparent-ish pixel also makes it more opaque.
  float na = std::min(1.0f, d.a + e * (1 - d.a));
  float f = e / std::max(na, 1e-6f);
  d.r += c.r * f;
  d.g += c.g * f;
  d.b += c.b * f;
  d.a = na;
}

void Image::fill(Color c) { std::fill(px_.begin(), px_.end(), c); }

void Image::fillRect(float x0, float y0, float x1, float y1, Color c) {
  fillPolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, c);
}

void Image::fillPolygon(const std::vector<Vec2>& pts, Color c) {
  fillPolygonWith(pts, [c](float, float) { return c; });
}

// Scanline fill with four sub-scanlines per row and exact horizontal
// coverage at span ends (even-odd rule).
void Image::fillPolygonWith(const std::vector<Vec2>& pts, const std::function<Color(float, float)>& paint) {
  if (pts.size() < 3) return;
  float minY = pts[0].y, maxY = pts[0].y;
  for (const Vec2& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  int y0 = std::max(0, int(std::floor(minY))), y1 = std::min(h_ - 1, int(std::ceil(maxY)));
  std::vector<float> cover(w_ + 2);
  std::vector<float> xs;
  const int kSub = 4;
  for (int y = y0; y <= y1; ++y) {
    std::fill(cover.begin(), cover.end(), 0.0f);
    int lo = w_, hi = -1;
    for (int s = 0; s < kSub; ++s) {
      float sy = y + (s + 0.5f) / kSub;
      xs.clear();
      for (size_t i = 0; i < pts.size(); ++i) {
        Vec2 a = pts[i], b = pts[(i + 1) % pts.size()];
        if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
          xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        float xa = std::clamp(xs[i], 0.0f, float(w_)), xb = std::clamp(xs[i + 1], 0.0f, float(w_));
        if (xb <= xa) continue;
        int ia = int(xa), ib = int(xb);
        lo = std::min(lo, ia);
        hi = std::max(hi, std::min(ib, w_ - 1));
        if (ia == ib) {
          cover[ia] += (xb - xa) / kSub;
          continue;
        }
        cover[ia] += (ia + 1 - xa) / kSub;
        for (int x = ia + 1; x < ib; ++x) cover[x] += 1.0f / kSub;
        if (ib < w_) cover[ib] += (xb - ib) / kSub;
      }
    }
    for (int x = lo; x <= hi; ++x)
      if (cover[x] > 0) blend(x, y, paint(x + 0.5f, y + 0.5f), std::min(1.0f, cover[x]));
  }
}

void Image::fillCircle(float cx, float cy, float r, Color c) {
  int x0 = std::max(0, int(cx - r - 1)), x1 = std::min(w_ - 1, int(cx + r + 1));
  int y0 = std::max(0, int(cy - r - 1)), y1 = std::min(h_ - 1, int(cy + r + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      float k = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
      if (k > 0) blend(x, y, c, k);
    }
}

void Image::ring(float cx, float cy, float r, float width, Color c) {
  float ro = r + width / 2, ri = r - width / 2;
  int x0 = std::max(0, int(cx - ro - 1)), x1 = std::min(w_ - 1, int(cx + ro + 1));
  int y0 = std::max(0, int(cy - ro - 1)), y1 = std::min(h_ - 1, int(cy + ro + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      float k = std::clamp(ro - d + 0.5f, 0.0f, 1.0f) * std::clamp(d - ri + 0.5f, 0.0f, 1.0f);
      if (k > 0) blend(x, y, c, k);
    }
}

void Image::line(float x0, float y0, float x1, float y1, float width, Color c) {
  float dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
  if (len <= 0) return;
  float nx = -dy / len * width / 2, ny = dx / len * width / 2;
  fillPolygon({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}}, c);
}

void Image::glow(float cx, float cy, float radius, Color c, float strength) {
  int x0 = std::max(0, int(cx - radius)), x1 = std::min(w_ - 1, int(cx + radius));
  int y0 = std::max(0, int(cy - radius)), y1 = std::min(h_ - 1, int(cy + radius));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
      if (d >= 1) continue;
      float k = (1 - d) * (1 - d) * strength;
      add(x, y, c, k);
    }
}

void Image::verticalGradient(float y0, float y1, Color top, Color bottom) {
  for (int y = 0; y < h_; ++y) {
    float t = std::clamp((y + 0.5f - y0) / (y1 - y0), 0.0f, 1.0f);
    Color c = mix(top, bottom, t);
    for (int x = 0; x < w_; ++x) set(x, y, c);
  }
}

void Image::drawMask(const Mask& m, int ox, int oy, const std::function<Color(int, int)>& paint) {
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      float k = m.v[size_t(y) * m.width + x];
      if (k > 0) blend(ox + x, oy + y, paint(ox + x, oy + y), k);
    }
}

void Image::drawMask(const Mask& m, int ox, int oy, Color c) {
  drawMask(m, ox, oy, [c](int, int) { return c; });
}

void Image::forEach(const std::function<Color(int, int, Color)>& f) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) px_[size_t(y) * w_ + x] = f(x, y, px_[size_t(y) * w_ + x]);
}

namespace {
uint8_t to8(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
}  // namespace

std::vector<uint8_t> Image::toBytes(bool withAlpha, uint32_t key, bool hasKey) const {
  const int ch = withAlpha ? 4 : 3;
  const uint8_t kr = (key >> 16) & 255, kg = (key >> 8) & 255, kb = key & 255;
  std::vector<uint8_t> out(size_t(w_) * h_ * ch);
  std::vector<uint8_t> keyed(size_t(w_) * h_, 0);
  for (int i = 0; i < w_ * h_; ++i) {
    const Color& c = px_[i];
    uint8_t* p = &out[size_t(i) * ch];
    bool transparent = withAlpha ? to8(c.a) == 0 : c.a < 0.5f;
    if (hasKey && transparent) {
      p[0] = kr, p[1] = kg, p[2] = kb;
      if (withAlpha) p[3] = 255;
      keyed[i] = 1;
      continue;
    }
    p[0] = to8(c.r), p[1] = to8(c.g), p[2] = to8(c.b);
    if (withAlpha) p[3] = to8(c.a);
    if (hasKey && p[0] == kr && p[1] == kg && p[2] == kb && (!withAlpha || p[3] == 255)) {
      // A visible pixel must never read as the key itself.
      p[1] = kg > 127 ? kg - 1 : kg + 1;
    }
  }
  if (!hasKey) return out;
  // No halo: a visible pixel beside a keyed one keeps a clear distance from the key.
  const int kMin = 48;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      int i = y * w_ + x;
      if (keyed[i]) continue;
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < w_ && ny < h_ && keyed[ny * w_ + nx]) {
            edge = true;
            break;
          }
        }
      if (!edge) continue;
      uint8_t* p = &out[size_t(i) * ch];
      int dist = std::max({std::abs(p[0] - kr), std::abs(p[1] - kg), std::abs(p[2] - kb)});
      if (dist >= kMin) continue;
      for (int c = 0; c < 3; ++c) {
        int k = c == 0 ? kr : c == 1 ? kg : kb;
        int v = p[c];
        // Move every channel away from the key by the missing distance.
        v = k > 127 ? std::min(v, k - kMin) : std::max(v, k + kMin);
        p[c] = uint8_t(std::clamp(v, 0, 255));
      }
    }
  return out;
}

bool writePng(const std::string& path, int w, int h, bool withAlpha, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, 6);
  png_set_IHDR(png, info, w, h, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t stride = size_t(w) * (withAlpha ? 4 : 3);
  for (int y = 0; y < h; ++y) png_write_row(png, &bytes[y * stride]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

uint32_t hash32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

float hashFloat(int x, int y, uint32_t seed) {
  return (hash32(uint32_t(x) * 0x9E3779B1u ^ hash32(uint32_t(y) + seed * 0x85EBCA77u)) >> 8) *
         (1.0f / 16777216.0f);
}

namespace {
float smooth(float t) { return t * t * (3 - 2 * t); }
float lattice(float x, float y, int px, int py, uint32_t seed) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = smooth(x - x0), fy = smooth(y - y0);
  auto h = [&](int ix, int iy) {
    if (px > 0) ix = ((ix % px) + px) % px;
    if (py > 0) iy = ((iy % py) + py) % py;
    return hashFloat(ix, iy, seed);
  };
  float a = h(x0, y0), b = h(x0 + 1, y0), c = h(x0, y0 + 1), d = h(x0 + 1, y0 + 1);
  return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}
}  // namespace

float valueNoise(float x, float y, uint32_t seed) { return lattice(x, y, 0, 0, seed); }

float fbm(float x, float y, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * valueNoise(x, y, seed + i * 101);
    norm += amp;
    x *= 2;
    y *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

float tileNoise(float x, float y, int px, int py, uint32_t seed) { return lattice(x, y, px, py, seed); }

float tileFbm(float x, float y, int px, int py, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * lattice(x, y, px, py, seed + i * 101);
    norm += amp;
    x *= 2;
    y *= 2;
    px *= 2;
    py *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

Mask dilate(const Mask& m, float radius) {
  Mask out(m.width, m.height);
  int r = int(std::ceil(radius));
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          float d = std::hypot(float(dx), float(dy));
          if (d > radius + 0.5f) continue;
          float v = m.at(x + dx, y + dy) * std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
          best = std::max(best, v);
        }
      out.ref(x, y) = best;
    }
  return out;
}

Mask blur(const Mask& m, int radius) {
  Mask a = m, b(m.width, m.height);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) {
        float s = 0;
        for (int d = -radius; d <= radius; ++d) s += a.at(x + d, y);
        b.ref(x, y) = s / (2 * radius + 1);
      }
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) {
        float s = 0;
        for (int d = -radius; d <= radius; ++d) s += b.at(x, y + d);
        a.ref(x, y) = s / (2 * radius + 1);
      }
  }
  return a;
}

Mask padded(const Mask& m, int pad) {
  Mask out(m.width + 2 * pad, m.height + 2 * pad);
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) out.ref(x + pad, y + pad) = m.at(x, y);
  return out;
}

}  // namespace assetgen
