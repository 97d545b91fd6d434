// The four story pictures. Each is drawn at rest at (-60, 0), so texture
// columns 60-860 and rows 0-600 are what the player sees; the caption box
// covers screen rows 450 and below, so the subject sits above it. The
// pictures cover their whole visible window (no keyed pixels).
#include <algorithm>
#include <cmath>

#include "gen/art.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

using namespace palette;
constexpr float kMidX = 460;  // screen centre in texture columns

// A relay station in orbit above a dark planet, its lights failing.
Image relay() {
  Image img(1024, 1024, kSpace);
  img.verticalGradient(0, 700, rgb(3, 4, 14), rgb(8, 10, 30));
  starfield(img, 41, 900, 1.0f);
  nebula(img, 42, rgb(30, 30, 80), 0.5f);
  // Planet with an atmosphere rim, lower left.
  const float pcx = 180, pcy = 980, pr = 620;
  img.forEach([&](int x, int y, Color c) {
    float d = std::hypot(x + 0.5f - pcx, y + 0.5f - pcy);
    if (d < pr) {
      float n = fbm(x / 90.0f, y / 50.0f, 43, 5);
      float lit = std::clamp((pcy - y) / pr + 0.2f, 0.0f, 1.0f);
      Color ground = mix(rgb(20, 34, 60), rgb(50, 80, 110), n);
      return mix(c, scaled(ground, 0.4f + 0.6f * lit), std::clamp(pr - d, 0.0f, 1.0f));
    }
    float rim = std::exp(-(d - pr) / 18.0f);
    return Color{c.r + 0.2f * rim, c.g + 0.5f * rim, c.b + 0.9f * rim, 1};
  });
  // The station: a wheel with spokes, a hub and a long antenna mast.
  const float sx = kMidX + 90, sy = 210;
  for (int i = 0; i < 12; ++i) {
    float a = i * 3.14159f / 6;
    img.line(sx, sy, sx + 150 * std::cos(a), sy + 55 * std::sin(a), 5, rgb(70, 80, 100));
  }
  for (int i = 0; i < 96; ++i) {
    float a = i * 6.28318f / 96, b = (i + 1) * 6.28318f / 96;
    float shade = 0.55f + 0.45f * std::max(0.0f, -std::sin(a));
    img.fillPolygon({{sx + 168 * std::cos(a), sy + 64 * std::sin(a)},
                     {sx + 168 * std::cos(b), sy + 64 * std::sin(b)},
                     {sx + 146 * std::cos(b), sy + 52 * std::sin(b)},
                     {sx + 146 * std::cos(a), sy + 52 * std::sin(a)}},
                    scaled(rgb(150, 160, 185), shade));
    if (i % 8 == 0) img.fillCircle(sx + 157 * std::cos(a), sy + 58 * std::sin(a), 3, rgb(60, 30, 30));
  }
  img.fillCircle(sx, sy, 40, rgb(120, 130, 155));
  img.fillCircle(sx - 8, sy - 10, 26, rgb(170, 180, 200));
  img.fillRect(sx - 6, sy - 190, sx + 6, sy, rgb(110, 118, 140));
  img.fillPolygon({{sx - 60, sy - 200}, {sx + 60, sy - 200}, {sx + 30, sy - 170}, {sx - 30, sy - 170}},
                  rgb(140, 150, 175));
  // One red warning light where everything else went dark.
  img.glow(sx, sy - 205, 60, kRed, 1.5f);
  img.fillCircle(sx, sy - 205, 5, rgb(255, 200, 190));
  img.glow(sx, sy, 90, rgb(255, 40, 40), 0.5f);
  return img;
}

// Drones streaming out of a tunnel mouth.
Image drones() {
  Image img(1024, 1024, rgb(10, 8, 16));
  const float cx = kMidX, cy = 220;
  img.forEach([&](int x, int y, Color) {
    float d = std::hypot(x - cx, (y - cy) * 1.2f);
    float n = fbm(x / 70.0f, y / 70.0f, 51, 4);
    float rock = 0.5f + 0.5f * n;
    Color wall = scaled(rgb(60, 46, 40), rock * std::clamp(d / 500.0f, 0.25f, 1.0f));
    return d < 120 ? rgb(4, 2, 6) : wall;
  });
  for (int i = 0; i < 6; ++i) img.ring(cx, cy, 130.0f + i * 70, 10.0f + i * 4, rgb(80, 62, 54, 0.7f));
  img.glow(cx, cy, 200, rgb(255, 40, 30), 0.7f);
  Rng rng(52);
  for (int i = 0; i < 70; ++i) {
    float a = rng.range(0, 6.28318f), r = 20 + 420 * std::pow(rng.uniform(), 1.4f);
    float x = cx + r * std::cos(a), y = cy + r * std::sin(a) * 0.8f;
    if (y > 470) continue;
    float s = 4 + r / 18;
    img.fillPolygon({{x - s, y - s * 0.3f}, {x + s, y - s * 0.3f}, {x + s * 0.5f, y + s * 0.5f},
                     {x - s * 0.5f, y + s * 0.5f}},
                    rgb(40, 40, 52));
    img.fillPolygon({{x - s * 1.6f, y}, {x - s, y - s * 0.2f}, {x - s, y + s * 0.2f}}, rgb(70, 70, 90));
    img.fillPolygon({{x + s * 1.6f, y}, {x + s, y - s * 0.2f}, {x + s, y + s * 0.2f}}, rgb(70, 70, 90));
    img.glow(x, y, s * 1.2f, kRed, 1.2f);
    img.fillCircle(x, y, std::max(1.0f, s * 0.18f), rgb(255, 210, 180));
  }
  return img;
}

// The last interceptor under floodlights in its hangar.
Image hangar() {
  Image img(1024, 1024, rgb(12, 14, 22));
  img.verticalGradient(0, 600, rgb(10, 12, 20), rgb(30, 34, 48));
  // Floor grid in perspective.
  const float hy = 300;
  img.fillRect(0, hy, 1024, 1024, rgb(34, 38, 50));
  for (int i = -12; i <= 12; ++i)
    img.line(kMidX + i * 12, hy, kMidX + i * 140, 1024, 2, rgb(60, 66, 84));
  for (int k = 1; k < 12; ++k) {
    float y = hy + 700.0f / (12 - k) - 58;
    if (y > hy) img.line(0, y, 1024, y, 2, rgb(60, 66, 84));
  }
  // Back wall with hazard stripes and bay doors.
  for (int i = 0; i < 30; ++i) {
    float x = i * 40.0f;
    img.fillPolygon({{x, 270}, {x + 20, 270}, {x + 40, 290}, {x + 20, 290}}, kAmber);
  }
  img.fillRect(0, 276, 1024, 284, rgb(20, 20, 28, 0.5f));
  for (float lx : {kMidX - 300, kMidX, kMidX + 300}) {
    img.fillRect(lx - 30, 20, lx + 30, 36, rgb(200, 210, 230));
    img.fillPolygonWith({{lx - 30, 36}, {lx + 30, 36}, {lx + 160, 440}, {lx - 160, 440}},
                        [&](float, float y) { return rgb(200, 220, 255, 0.16f * (1 - (y - 36) / 420)); });
  }
  // The ship, large, with its crew lights.
  img.fillPolygon({{kMidX - 260, 400}, {kMidX + 260, 400}, {kMidX + 200, 430}, {kMidX - 200, 430}},
                  rgb(0, 0, 0, 0.45f));
  interceptor(img, kMidX, 320, 250, false);
  img.glow(kMidX, 240, 40, kCyan, 0.8f);
  for (float wx : {kMidX - 330, kMidX + 330}) {
    img.fillRect(wx - 6, 330, wx + 6, 420, rgb(50, 54, 70));
    img.glow(wx, 330, 20, kAmber, 1.2f);
  }
  return img;
}

// Diving down the corridor towards the core.
Image dive() {
  Image img(1024, 1024, kSpace);
  corridorScene(img, kMidX, 230, 0.9f, 3, kMagenta);
  img.glow(kMidX, 230, 260, rgb(255, 120, 220), 0.6f);
  interceptor(img, kMidX - 40, 380, 150, true);
  // Speed streaks.
  Rng rng(61);
  for (int i = 0; i < 60; ++i) {
    float a = rng.range(0, 6.28318f), r0 = rng.range(120, 300), len = rng.range(40, 160);
    float x0 = kMidX + r0 * std::cos(a), y0 = 230 + r0 * std::sin(a);
    img.line(x0, y0, x0 + len * std::cos(a), y0 + len * std::sin(a), 1.5f, rgb(220, 200, 255, 0.5f));
  }
  return img;
}

}  // namespace

void addStoryPictures(Builders& b) {
  b.images["t/story1.png"] = relay;
  b.images["t/story2.png"] = drones;
  b.images["t/story3.png"] = hangar;
  b.images["t/story4.png"] = dive;
}

}  // namespace assetgen
