// HUD images: the shield gauge, missile icon, radar scope and blips, the
// score board's digit sheets, frames and labels. Gauge, icon and score
// parts use the white key, so their outer edges are dark; radar parts use
// the black key, so theirs are bright.
#include <algorithm>
#include <cmath>

#include "gen/art.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

using namespace palette;
const Color kDarkEdge = rgb(12, 16, 34);

// Shield gauge, 256 x 128 drawn at 80 % from (60, 440). The missile icons
// start at screen x 200, so the gauge keeps to texture columns 0-172.
// cells: 0 empty, 1 full, 2 flashing (just lost).
Image gauge(const int cells[3], Color full, const char* status, Color statusColor) {
  Image img(256, 128, {0, 0, 0, 0});
  img.fillPolygon(chamfered(2, 2, 170, 120, 12), kDarkEdge);
  img.fillPolygonWith(chamfered(5, 5, 167, 117, 10), [](float, float y) {
    return mix(rgb(30, 42, 80), rgb(16, 22, 46), y / 120);
  });
  Mask label = renderText(Face::SansBold, "SHIELD", 15, 0, 2);
  outlinedText(img, label, 13, 13, kCyan, rgb(60, 170, 230), kDarkEdge, 1);
  Mask st = renderFitted(Face::SansBold, status, 13, 70);
  outlinedText(img, st, 158 - st.width, 15, statusColor, statusColor, kDarkEdge, 1);
  for (int i = 0; i < 3; ++i) {
    float x0 = 12 + i * 52.0f, x1 = x0 + 44;
    std::vector<Vec2> cell = {{x0 + 8, 40}, {x1 + 4, 40}, {x1 - 4, 106}, {x0, 106}};
    img.fillPolygon(cell, rgb(8, 10, 22));
    std::vector<Vec2> inner = {{x0 + 11, 44}, {x1, 44}, {x1 - 7, 102}, {x0 + 4, 102}};
    if (cells[i] == 1) {
      img.fillPolygonWith(inner, [&](float, float y) { return mix(mix(full, kText, 0.45f), full, (y - 44) / 58); });
    } else if (cells[i] == 2) {
      img.fillPolygon(inner, rgb(250, 80, 60));
      img.fillPolygon({{x0 + 17, 52}, {x1 - 5, 52}, {x1 - 10, 94}, {x0 + 11, 94}}, rgb(255, 190, 150));
    } else {
      img.fillPolygon(inner, rgb(36, 44, 66));
    }
  }
  return img;
}

Image missileIcon() {
  Image img(64, 64, {0, 0, 0, 0});
  // Diagonal missile, nose to the upper right.
  auto R = [](float x, float y) {
    const float c = 0.7071f;
    return Vec2{32 + (x * c - y * c), 32 - (x * c + y * c)};
  };
  std::vector<Vec2> body = {R(-20, -5), R(14, -5), R(24, 0), R(14, 5), R(-20, 5)};
  std::vector<Vec2> finA = {R(-20, 5), R(-12, 5), R(-22, 14)}, finB = {R(-20, -5), R(-12, -5), R(-22, -14)};
  for (const auto* p : {&body, &finA, &finB}) {
    std::vector<Vec2> grown;
    for (Vec2 v : *p) grown.push_back({32 + (v.x - 32) * 1.12f, 32 + (v.y - 32) * 1.12f});
    img.fillPolygon(grown, kDarkEdge);
  }
  img.fillPolygon(finA, kRed);
  img.fillPolygon(finB, kRed);
  img.fillPolygon(body, rgb(170, 186, 214));
  img.fillPolygon({R(10, -5), R(14, -5), R(24, 0), R(14, 5), R(10, 5)}, kRed);
  img.line(R(-16, 0).x, R(-16, 0).y, R(8, 0).x, R(8, 0).y, 2, rgb(110, 124, 160));
  return img;
}

// Radar scope. The ship's mark sits where a blip at (650, 493) is centred:
// blip images are 8 x 8, so screen (654, 497), texture ((654-600)/0.8,
// (497-440)/0.8).
constexpr float kScopeX = 67.5f, kScopeY = 71.25f;

Image radar() {
  Image img(128, 128, {0, 0, 0, 0});
  auto ellipse = [](float rx, float ry) {
    std::vector<Vec2> p;
    for (int i = 0; i < 72; ++i) {
      float a = i * 6.28318f / 72;
      p.push_back({kScopeX + rx * std::cos(a), kScopeY + ry * std::sin(a)});
    }
    return p;
  };
  img.fillPolygon(ellipse(59, 55), rgb(90, 220, 150));
  img.fillPolygonWith(ellipse(56, 52), [](float x, float y) {
    float d = std::hypot((x - kScopeX) / 56, (y - kScopeY) / 52);
    return mix(rgb(20, 70, 50), rgb(12, 40, 34), d);
  });
  for (float k : {0.33f, 0.66f}) {
    std::vector<Vec2> e = ellipse(56 * k, 52 * k);
    for (size_t i = 0; i < e.size(); ++i) {
      Vec2 a = e[i], b = e[(i + 1) % e.size()];
      img.line(a.x, a.y, b.x, b.y, 1.2f, rgb(60, 150, 100));
    }
  }
  img.line(kScopeX - 56, kScopeY, kScopeX + 56, kScopeY, 1, rgb(60, 150, 100));
  img.line(kScopeX, kScopeY - 52, kScopeX, kScopeY + 52, 1, rgb(60, 150, 100));
  img.fillPolygon({{kScopeX, kScopeY - 5}, {kScopeX + 4, kScopeY + 4}, {kScopeX - 4, kScopeY + 4}},
                  rgb(200, 255, 220));
  return img;
}

Image blip(Color c) {
  Image img(8, 8, {0, 0, 0, 0});
  img.fillCircle(4, 4, 3.2f, c);
  img.fillCircle(4, 4, 1.4f, mix(c, rgb(255, 255, 255), 0.6f));
  return img;
}

// Digit sheet: 32 x 32 cells, 0-7 on the top row, 8 and 9 below.
Image digitSheet(Color top, Color bottom, int size) {
  Image img(256, 64, {0, 0, 0, 0});
  for (int d = 0; d < 10; ++d) {
    int cx = (d < 8 ? d : d - 8) * 32, cy = d < 8 ? 0 : 32;
    Mask m = renderText(Face::MonoBold, std::string(1, char('0' + d)), size);
    outlinedText(img, m, cx + centred(0, 32, m.width), cy + centred(0, 32, m.height), top, bottom,
                 rgb(30, 18, 8), 2.5f);
  }
  return img;
}

Image panel(int w, int h, float pw, float ph, const char* label, int labelX, int labelY) {
  Image img(w, h, {0, 0, 0, 0});
  img.fillPolygon(chamfered(0, 0, pw, ph, 8), kDarkEdge);
  img.fillPolygonWith(chamfered(2, 2, pw - 2, ph - 2, 7), [&](float, float y) {
    return mix(rgb(30, 42, 84), rgb(14, 20, 44), y / ph);
  });
  img.line(8, ph - 4, pw - 8, ph - 4, 2, scaled(kCyan, 0.9f));
  if (label) {
    Mask m = renderText(Face::SansBold, label, 12, 0, 3);
    outlinedText(img, m, labelX, labelY, kCyan, kCyan, kDarkEdge, 1);
  }
  return img;
}

}  // namespace

void addHudImages(Builders& b) {
  static const int full[3] = {1, 1, 1}, two[3] = {1, 1, 0}, one[3] = {1, 0, 0}, none[3] = {0, 0, 0};
  static const int twoFlash[3] = {1, 1, 2}, oneFlash[3] = {1, 2, 2};
  b.images["t/hp1.png"] = [] { return gauge(full, kGreen, "OK", kGreen); };
  b.images["t/hp2.png"] = [] { return gauge(two, kAmber, "DAMAGED", kAmber); };
  b.images["t/hp3.png"] = [] { return gauge(one, kRed, "WARNING", kRed); };
  b.images["t/hp4.png"] = [] { return gauge(none, kRed, "LOST", kRed); };
  b.images["t/hp1-2.png"] = [] { return gauge(twoFlash, kAmber, "HIT", rgb(255, 120, 90)); };
  b.images["t/hp2-2.png"] = [] { return gauge(oneFlash, kRed, "WARNING", rgb(255, 120, 90)); };
  b.images["t/missile.png"] = missileIcon;
  b.images["t/radar.png"] = radar;
  b.images["t/enemy.png"] = [] { return blip(rgb(90, 255, 140)); };
  b.images["t/enemy2.png"] = [] { return blip(rgb(255, 220, 60)); };
  b.images["t/enemy3.png"] = [] { return blip(rgb(255, 70, 60)); };
  b.images["t/score.png"] = [] { return digitSheet(rgb(255, 236, 160), rgb(255, 150, 40), 30); };
  b.images["t/hitscore.png"] = [] { return digitSheet(rgb(170, 240, 255), rgb(60, 170, 250), 28); };
  // Score digits cover x 0-254 and y 0-32 of the frame; the label sits below.
  b.images["t/waku.png"] = [] { return panel(512, 64, 262, 52, "SCORE", 8, 35); };
  // Hit digits cover x 0-62, y 15-47; "HITS" is drawn over x 64-.
  b.images["t/hitwaku.png"] = [] { return panel(256, 64, 160, 56, nullptr, 0, 0); };
  b.images["t/hit.png"] = [] {
    Image img(128, 64, {0, 0, 0, 0});
    Mask m = renderText(Face::SansBold, "HITS", 22, 0, 2);
    outlinedText(img, m, 4, 22, kAmber, rgb(255, 140, 40), kDarkEdge, 2);
    return img;
  };
  b.images["t/max.png"] = [] {
    Image img = panel(256, 64, 160, 56, nullptr, 0, 0);
    Mask m = renderText(Face::SansBold, "MAX x50", 28, 0, 2);
    outlinedText(img, m, centred(0, 160, m.width), centred(0, 52, m.height), rgb(255, 240, 160),
                 rgb(255, 120, 40), rgb(40, 16, 4), 2);
    return img;
  };
}

}  // namespace assetgen
