// Textures of the field of play: the corridor tiles, explosion sheets, the
// warp flash, exhaust glow, lock-on sight, glyph sheet and the window icon.
#include <algorithm>
#include <cmath>

#include "gen/art.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

using namespace palette;

float smoothstep(float a, float b, float x) {
  float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Metal base that tiles in both directions (512 x 1024).
Color metal(int x, int y, Color base, uint32_t seed) {
  float n = tileFbm(x / 64.0f, y / 64.0f, 8, 16, seed, 4);
  float grain = tileNoise(x / 2.0f, y / 16.0f, 256, 64, seed + 7);
  return scaled(base, 0.78f + 0.35f * n + 0.06f * grain);
}

// Plate seams every `cell` pixels: a dark groove and a lit bevel. Rows run
// half a plate off so the tile's first and last rows are plain plate.
Color seams(int x, int y, Color c, int cellX, int cellY) {
  int mx = x % cellX, my = (y + cellY / 2) % cellY;
  if (mx < 3 || my < 3) return scaled(c, 0.4f);
  if (mx < 5 || my < 5) return scaled(c, 1.35f);
  return c;
}

Image floorTile() {
  Image img(512, 1024);
  img.forEach([](int x, int y, Color) {
    Color c = seams(x, y, metal(x, y, rgb(58, 66, 86), 71), 128, 128);
    // Hazard stripes along both edges.
    if (x < 26 || x >= 486) {
      bool stripe = ((x + y) / 16) % 2 == 0;
      c = stripe ? rgb(214, 150, 40) : rgb(34, 30, 28);
      c = scaled(c, 0.85f + 0.2f * tileNoise(x / 8.0f, y / 8.0f, 64, 128, 72));
    }
    return c;
  });
  // Rivets at the plate corners.
  for (int py = 0; py < 1024; py += 128)
    for (int px = 0; px < 512; px += 128)
      for (int k = 0; k < 4; ++k) {
        float rx = px + (k % 2 ? 116.0f : 12.0f);
        float ry = float((py + 64 + (k / 2 ? 116 : 12)) % 1024);
        if (rx < 30 || rx > 482) continue;
        img.fillCircle(rx, ry, 3.5f, rgb(30, 34, 44));
        img.fillCircle(rx - 0.8f, ry - 0.8f, 2.2f, rgb(130, 140, 160));
      }
  // Guide lights: glowing dashes that repeat every 64 pixels.
  for (float gx : {96.0f, 416.0f})
    for (int y = 0; y < 1024; y += 64) {
      img.glow(gx, y + 16.0f, 30, kCyan, 0.5f);
      img.fillRect(gx - 4, y + 4.0f, gx + 4, y + 28.0f, rgb(190, 245, 255));
    }
  return img;
}

// Wall panels: u runs up the wall from the floor (pipes) to the ceiling.
// The left wall's quad is turned the other way round, so its tile is
// painted mirrored to keep the pipes at the floor on both sides.
Image wallTile(Color windowColor, uint32_t seed, bool mirrored) {
  Image img(512, 1024);
  img.forEach([&](int x, int y, Color) {
    Color c = seams(x, y, metal(x, y, rgb(50, 58, 80), seed), 512, 128);
    // Horizontal bands across the wall's height.
    if (x < 90) c = scaled(c, 0.7f);
    if (x > 200 && x < 310) c = scaled(c, 0.55f);
    if (x >= 90 && x < 100) c = rgb(30, 34, 46);
    // Pipes.
    for (int p : {36, 60}) {
      float d = std::abs(x - p) / 9.0f;
      if (d < 1) c = scaled(rgb(110, 100, 90), 0.45f + 0.6f * std::sqrt(1 - d * d));
    }
    return c;
  });
  // Lit windows in the middle band, four per 128-pixel bay.
  for (int y = 0; y < 1024; y += 32) {
    bool lit = hash32(uint32_t(y) * 31 + seed) % 5 != 0;
    Color w = lit ? windowColor : rgb(40, 46, 60);
    img.fillRect(218, y + 8.0f, 292, y + 26.0f, rgb(14, 16, 24));
    img.fillRect(221, y + 11.0f, 289, y + 23.0f, w);
    if (lit) img.glow(255, y + 17.0f, 44, windowColor, 0.35f);
  }
  // Pillars at the seams.
  for (int y = 64; y < 1024; y += 128) {
    img.fillRect(0, y + 5.0f, 512, y + 15.0f, rgb(70, 80, 104));
    img.fillRect(0, y + 15.0f, 512, y + 18.0f, rgb(24, 28, 40));
    img.glow(380, y + 10.0f, 26, kRed, 0.6f);
    img.fillCircle(380, y + 10.0f, 3, rgb(255, 140, 120));
  }
  if (mirrored) {
    Image flipped(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) flipped.set(img.width() - 1 - x, y, img.get(x, y));
    return flipped;
  }
  return img;
}

Image ceilingTile() {
  Image img(512, 1024);
  img.forEach([](int x, int y, Color) { return seams(x, y, metal(x, y, rgb(34, 38, 54), 91), 256, 128); });
  for (float lx : {150.0f, 362.0f}) {
    for (int y = 0; y < 1024; ++y) {
      for (int x = int(lx) - 30; x <= int(lx) + 30; ++x) {
        float d = std::abs(x + 0.5f - lx);
        img.add(x, y, rgb(160, 220, 255), 0.5f * std::exp(-d / 8));
      }
    }
    img.fillRect(lx - 5, 0, lx + 5, 1024, rgb(230, 248, 255));
  }
  for (int y = 0; y < 1024; y += 128) img.fillRect(0, y + 40.0f, 512, y + 52.0f, rgb(22, 24, 34));
  return img;
}

// Explosion sheet: 4 x 4 cells of 128 pixels, left to right, top to bottom.
Image explosion(bool plasma) {
  Image img(512, 512, {0, 0, 0, 0});
  Rng rng(plasma ? 202 : 101);
  struct Spark {
    float angle, speed, size;
  };
  std::vector<Spark> sparks;
  for (int i = 0; i < 18; ++i) sparks.push_back({rng.range(0, 6.28318f), rng.range(0.6f, 1.0f), rng.range(1.5f, 3.0f)});
  for (int f = 0; f < 16; ++f) {
    const float ox = (f % 4) * 128.0f, oy = (f / 4) * 128.0f, cx = ox + 64, cy = oy + 64;
    const float p = (f + 0.5f) / 16;
    const float radius = 10 + 46 * (1 - std::pow(1 - p, 2.2f));
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        float dx = x + 0.5f - 64, dy = y + 0.5f - 64, d = std::hypot(dx, dy);
        if (d > 61) continue;
        float n = fbm(dx / 22.0f + p * 1.5f, dy / 22.0f - p, plasma ? 9 : 7, 4);
        float density = std::clamp(1.15f - d / radius + (n - 0.5f) * 0.9f, 0.0f, 1.0f);
        float heat = density * std::pow(1 - p, 0.9f) * 1.7f;
        Color c;
        if (plasma) {
          c = heat > 1.0f ? rgb(240, 250, 255)
                          : heat > 0.6f ? mix(rgb(110, 200, 255), rgb(240, 250, 255), (heat - 0.6f) / 0.4f)
                                        : mix(rgb(70, 60, 200), rgb(110, 200, 255), heat / 0.6f);
        } else {
          c = heat > 1.0f ? rgb(255, 250, 210)
                          : heat > 0.6f ? mix(rgb(255, 150, 40), rgb(255, 250, 210), (heat - 0.6f) / 0.4f)
                          : heat > 0.25f ? mix(rgb(200, 50, 20), rgb(255, 150, 40), (heat - 0.25f) / 0.35f)
                                         : mix(rgb(90, 82, 78), rgb(200, 50, 20), heat / 0.25f);
        }
        float alpha = smoothstep(0.0f, 0.35f, density) * (1 - std::pow(p, 2.5f)) * smoothstep(61, 54, d);
        c.a = alpha;
        img.blend(int(ox) + x, int(oy) + y, c, 1);
      }
    if (plasma) {
      float r = 8 + 50 * p;
      img.ring(cx, cy, std::min(r, 56.0f), 5, rgb(170, 230, 255, 0.9f * (1 - p)));
    }
    if (p < 0.2f) img.glow(cx, cy, 40, rgb(255, 255, 240), 1.0f - p * 4);
    for (const Spark& s : sparks) {
      float r = 10 + 48 * p * s.speed;
      if (r > 56 || p > 0.75f) continue;
      float sx = cx + r * std::cos(s.angle), sy = cy + r * std::sin(s.angle);
      Color sc = plasma ? rgb(200, 240, 255) : rgb(255, 220, 140);
      img.fillCircle(sx, sy, s.size * (1 - p), {sc.r, sc.g, sc.b, 1 - p});
    }
  }
  return img;
}

Image warpFlash() {
  Image img(128, 128, {0, 0, 0, 0});
  img.glow(64, 64, 62, rgb(150, 80, 255), 0.9f);
  img.ring(64, 64, 44, 8, rgb(200, 140, 255, 0.95f));
  img.ring(64, 64, 30, 3, rgb(240, 220, 255, 0.8f));
  img.glow(64, 64, 22, rgb(255, 255, 255), 1.2f);
  Rng rng(303);
  for (int i = 0; i < 24; ++i) {
    float a = rng.range(0, 6.28318f), r = rng.range(20, 56);
    img.fillCircle(64 + r * std::cos(a), 64 + r * std::sin(a), rng.range(1, 2.5f), rgb(230, 200, 255, 0.9f));
  }
  return img;
}

Image exhaust() {
  Image img(64, 64, {0, 0, 0, 0});
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      float d = std::hypot(x + 0.5f - 32, y + 0.5f - 32) / 31;
      if (d >= 1) continue;
      float k = std::pow(1 - d, 1.6f);
      Color c = mix(rgb(60, 120, 255), rgb(235, 245, 255), std::pow(1 - d, 3.0f));
      c.a = k;
      img.set(x, y, c);
    }
  return img;
}

Image sight(bool locked) {
  Image img(128, 128, {0, 0, 0, 0});
  Color c = locked ? rgb(255, 80, 60) : rgb(100, 255, 150);
  if (!locked) {
    for (int k = 0; k < 4; ++k) {
      float sx = k % 2 ? 1.0f : -1.0f, sy = k / 2 ? 1.0f : -1.0f;
      float x = 64 + sx * 44, y = 64 + sy * 44;
      img.line(x, y, x - sx * 22, y, 5, c);
      img.line(x, y, x, y - sy * 22, 5, c);
    }
    img.ring(64, 64, 10, 3, c);
    img.fillCircle(64, 64, 2.5f, c);
  } else {
    img.ring(64, 64, 34, 4, c);
    for (int k = 0; k < 4; ++k) {
      float a = k * 1.5708f, ca = std::cos(a), sa = std::sin(a);
      Vec2 tip{64 + ca * 24, 64 + sa * 24};
      img.fillPolygon({tip, {64 + ca * 46 - sa * 9, 64 + sa * 46 + ca * 9}, {64 + ca * 46 + sa * 9, 64 + sa * 46 - ca * 9}}, c);
    }
    img.glow(64, 64, 50, c, 0.35f);
    img.fillCircle(64, 64, 4, rgb(255, 220, 200));
  }
  return img;
}

// Glyph sheet: 8 x 8 cells of 32 pixels; digits 0-7, then 8, 9, then letters.
Image glyphSheet() {
  Image img(256, 256, {0, 0, 0, 0});
  const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-.:!?/%";
  for (size_t i = 0; i < chars.size(); ++i) {
    int cx = int(i % 8) * 32, cy = int(i / 8) * 32;
    Mask m = renderText(Face::MonoBold, std::string(1, chars[i]), 26);
    img.drawMask(m, cx + centred(0, 32, m.width), cy + centred(0, 32, m.height), rgb(150, 255, 210));
  }
  return img;
}

Image icon() {
  Image img(64, 64, {0, 0, 0, 0});
  img.fillPolygon(chamfered(1, 1, 63, 63, 12), kCyan);
  img.fillPolygonWith(chamfered(4, 4, 60, 60, 10), [](float, float y) {
    return mix(rgb(24, 36, 80), rgb(8, 12, 30), y / 64);
  });
  img.glow(32, 40, 26, kMagenta, 0.6f);
  interceptor(img, 32, 34, 24, true);
  return img;
}

}  // namespace

void addFieldImages(Builders& b) {
  b.images["t/back1.png"] = floorTile;
  b.images["t/back2.png"] = [] { return wallTile(kAmber, 81, false); };  // right wall, turned 90 degrees
  b.images["t/back3.png"] = [] { return wallTile(kCyan, 82, true); };    // left wall, turned 270 degrees
  b.images["t/back4.png"] = ceilingTile;
  b.images["t/effect.png"] = [] { return explosion(false); };
  b.images["t/effect2.png"] = [] { return explosion(true); };
  b.images["t/warp.png"] = warpFlash;
  b.images["t/bakuha.png"] = exhaust;
  b.images["t/sight1.png"] = [] { return sight(false); };
  b.images["t/sight2.png"] = [] { return sight(true); };
  b.images["t/text.png"] = glyphSheet;
  b.images["t/icon.png"] = icon;
}

}  // namespace assetgen
