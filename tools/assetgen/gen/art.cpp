// Shared painting helpers.
#include "gen/art.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

void starfield(Image& img, uint32_t seed, int count, float brightness) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    float x = rng.range(0, float(img.width())), y = rng.range(0, float(img.height()));
    float m = rng.uniform();
    float b = (0.25f + 0.75f * m * m) * brightness;
    Color tint = mix(rgb(170, 200, 255), rgb(255, 235, 200), rng.uniform());
    if (m > 0.93f) {
      img.glow(x, y, 6 + 6 * m, tint, 0.6f * b);
      img.fillCircle(x, y, 1.1f, tint);
    } else {
      img.add(int(x), int(y), tint, b);
    }
  }
}

void nebula(Image& img, uint32_t seed, Color tint, float strength) {
  img.forEach([&](int x, int y, Color c) {
    float n = fbm(x / 260.0f, y / 260.0f, seed, 5);
    float k = std::clamp((n - 0.45f) * 2.2f, 0.0f, 1.0f) * strength;
    return Color{c.r + tint.r * k, c.g + tint.g * k, c.b + tint.b * k, c.a};
  });
}

void corridorScene(Image& img, float cx, float cy, float scale, float depth, Color accent, float guideFrom) {
  // Camera at the corridor's middle height, looking down its length.
  const float f = 420 * scale;
  auto P = [&](float x, float y, float z) { return Vec2{cx + f * x / z, cy - f * y / z}; };
  const float nearZ = 1.2f, farZ = 140;
  const float xl = -10, xr = 10, yb = -5, yt = 9;
  auto shade = [&](Color base, float z) {
    float fog = std::clamp((z - nearZ) / (farZ * 0.55f), 0.0f, 1.0f);
    return mix(base, scaled(accent, 0.55f), fog);
  };
  // Floor, walls, ceiling in strips so the fog darkens with distance.
  for (float z = nearZ; z < farZ; z += 2.0f) {
    float z2 = z + 2.0f;
    img.fillPolygon({P(xl, yb, z), P(xr, yb, z), P(xr, yb, z2), P(xl, yb, z2)}, shade(rgb(48, 56, 74), z));
    img.fillPolygon({P(xl, yt, z), P(xr, yt, z), P(xr, yt, z2), P(xl, yt, z2)}, shade(rgb(26, 30, 46), z));
    img.fillPolygon({P(xl, yb, z), P(xl, yt, z), P(xl, yt, z2), P(xl, yb, z2)}, shade(rgb(36, 42, 62), z));
    img.fillPolygon({P(xr, yb, z), P(xr, yt, z), P(xr, yt, z2), P(xr, yb, z2)}, shade(rgb(34, 40, 60), z));
  }
  // Cross ribs with lit edges.
  for (float z = depth; z < farZ; z += 10) {
    if (z < nearZ) continue;
    float w = std::max(1.0f, 60.0f * scale / z);
    Color rib = shade(rgb(90, 104, 130), z);
    img.line(P(xl, yb, z).x, P(xl, yb, z).y, P(xr, yb, z).x, P(xr, yb, z).y, w, rib);
    img.line(P(xl, yt, z).x, P(xl, yt, z).y, P(xr, yt, z).x, P(xr, yt, z).y, w, rib);
    img.line(P(xl, yb, z).x, P(xl, yb, z).y, P(xl, yt, z).x, P(xl, yt, z).y, w, rib);
    img.line(P(xr, yb, z).x, P(xr, yb, z).y, P(xr, yt, z).x, P(xr, yt, z).y, w, rib);
    // Wall lamps.
    Vec2 a = P(xl, 2, z + 5), b = P(xr, 2, z + 5);
    img.glow(a.x, a.y, 180 * scale / z + 2, palette::kAmber, 0.8f);
    img.glow(b.x, b.y, 180 * scale / z + 2, palette::kAmber, 0.8f);
  }
  // Guide lights along the floor.
  for (float gx : {-4.0f, 4.0f}) {
    for (float z = std::max(nearZ + 0.5f, guideFrom); z < farZ; z += 4) {
      Vec2 a = P(gx, yb, z), b = P(gx, yb, z + 2);
      img.line(a.x, a.y, b.x, b.y, std::max(1.0f, 40.0f * scale / z), mix(accent, palette::kText, 0.3f));
    }
  }
  // The core at the far end.
  img.glow(cx, cy, 150 * scale, accent, 1.2f);
  img.glow(cx, cy, 45 * scale, palette::kText, 1.5f);
}

void interceptor(Image& img, float cx, float cy, float s, bool engines) {
  auto T = [&](float x, float y) { return Vec2{cx + x * s, cy + y * s}; };
  // Shadowed underside first, then the lit hull.
  img.fillPolygon({T(0, -0.55f), T(1.0f, 0.25f), T(0.95f, 0.38f), T(0.25f, 0.3f), T(0, 0.42f),
                   T(-0.25f, 0.3f), T(-0.95f, 0.38f), T(-1.0f, 0.25f)},
                  rgb(40, 52, 84));
  img.fillPolygon({T(0, -0.62f), T(0.92f, 0.2f), T(0.25f, 0.2f), T(0, 0.3f), T(-0.25f, 0.2f), T(-0.92f, 0.2f)},
                  rgb(150, 168, 200));
  img.fillPolygon({T(0, -0.62f), T(0.22f, 0.1f), T(0, 0.22f), T(-0.22f, 0.1f)}, rgb(205, 215, 235));
  img.fillPolygon({T(0, -0.35f), T(0.09f, -0.05f), T(0, 0.02f), T(-0.09f, -0.05f)}, palette::kCyan);
  img.fillPolygon({T(0.7f, 0.05f), T(0.92f, 0.2f), T(0.72f, 0.22f)}, palette::kRed);
  img.fillPolygon({T(-0.7f, 0.05f), T(-0.92f, 0.2f), T(-0.72f, 0.22f)}, palette::kRed);
  if (engines) {
    for (float ex : {-0.16f, 0.16f}) {
      Vec2 e = T(ex, 0.3f);
      img.glow(e.x, e.y, 0.45f * s, rgb(90, 160, 255), 1.3f);
      img.fillCircle(e.x, e.y, 0.07f * s, rgb(220, 240, 255));
    }
  }
}

std::vector<Vec2> chamfered(float x0, float y0, float x1, float y1, float cut) {
  return {{x0 + cut, y0}, {x1 - cut, y0}, {x1, y0 + cut}, {x1, y1 - cut},
          {x1 - cut, y1}, {x0 + cut, y1}, {x0, y1 - cut}, {x0, y0 + cut}};
}

void outlinedText(Image& img, const Mask& text, int x, int y, Color top, Color bottom, Color edge,
                  float outline) {
  int pad = int(std::ceil(outline)) + 1;
  Mask p = padded(text, pad);
  if (outline > 0) img.drawMask(dilate(p, outline), x - pad, y - pad, edge);
  float h = float(std::max(1, text.height));
  img.drawMask(p, x - pad, y - pad, [&](int, int py) {
    float t = std::clamp((py - y) / h, 0.0f, 1.0f);
    return mix(top, bottom, t);
  });
}

}  // namespace assetgen
