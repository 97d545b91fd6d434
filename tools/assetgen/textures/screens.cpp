// Full-screen pictures: title, game over, staff roll and the story's
// background. All are 1024 x 1024; the screen shows an 800 x 600 window of
// them at their draw position.
#include <algorithm>
#include <cmath>

#include "gen/art.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

using namespace palette;

// Title: drawn at (0,-14), so screen row 0 is texture row 14.
Image title() {
  Image img(1024, 1024, kSpace);
  img.verticalGradient(0, 620, rgb(4, 6, 18), rgb(18, 26, 58));
  starfield(img, 11, 500, 0.8f);
  // The floor's guide lights stop short of the lines at the lower left.
  corridorScene(img, 400, 360, 1.0f, 4, kCyan, 13.7f);
  interceptor(img, 250, 470, 120, true);
  // Logo: heavy letters with a steel gradient, a dark rim and a cyan glow.
  Mask logo = renderText(Face::SansBold, "TERVO", 190, 0, 14);
  int lx = centred(0, 800, logo.width), ly = 70;
  Mask glow = blur(padded(logo, 40), 14);
  img.drawMask(glow, lx - 40, ly - 40, scaled(kCyan, 0.9f));
  Mask shadow = padded(logo, 12);
  img.drawMask(dilate(shadow, 6), lx - 12 + 8, ly - 12 + 10, rgb(0, 0, 8, 0.8f));
  outlinedText(img, logo, lx, ly, rgb(250, 252, 255), rgb(90, 130, 190), rgb(10, 16, 40), 6);
  // A bright chrome line through the letters.
  img.drawMask(padded(logo, 0), lx, ly, [&](int, int y) {
    float t = (y - ly) / float(logo.height);
    return t > 0.48f && t < 0.53f ? rgb(255, 255, 255, 0.9f) : rgb(255, 255, 255, 0.0f);
  });
  Mask sub = renderText(Face::SansBold, "STRIKE INTO THE SILENT RELAY", 24, 0, 4);
  outlinedText(img, sub, centred(0, 800, sub.width), ly + logo.height + 28, kAmber, rgb(230, 120, 40),
               rgb(20, 12, 6), 2);
  // Menu backdrop at the lower right and the controls line at the lower left.
  // (texture rows are screen rows + 14)
  // The menu's box ends above the description's, below the lit entry's
  // underline (HARD's rests at texture rows 530-534).
  img.fillPolygon(chamfered(470, 376, 810, 537, 18), rgb(8, 12, 30, 0.8f));
  img.fillPolygon(chamfered(288, 541, 810, 612, 14), rgb(8, 12, 30, 0.8f));
  img.line(488, 377, 800, 377, 2, scaled(kCyan, 0.8f));
  Mask keys = renderText(Face::Sans, "ARROWS move  Z fire  X missile", 15);
  outlinedText(img, keys, 24, 590, kText, kSteel, rgb(6, 8, 20), 2);
  Mask press = renderText(Face::SansBold, "PRESS Z TO START", 18, 0, 2);
  outlinedText(img, press, 24, 556, kCyan, rgb(40, 150, 220), rgb(6, 8, 20), 2);
  Mask copy = renderText(Face::Sans, "(c) 2026 THE TERVO PROJECT", 14);
  outlinedText(img, copy, 24, 30, kSteel, kSteel, rgb(6, 8, 20), 1);
  return img;
}

// Game over: transparent (key) except a banner in texture rows 600-820,
// which rests at screen rows 180-400 when drawn at (0,-420).
Image gameOver() {
  Image img(1024, 1024, {0, 0, 0, 0});
  const float top = 620, bottom = 800;
  img.fillPolygonWith({{0, top}, {800, top}, {800, bottom}, {0, bottom}}, [&](float x, float y) {
    float t = (y - top) / (bottom - top);
    Color c = mix(rgb(40, 6, 10), rgb(10, 2, 6), t);
    float scan = (int(y) % 4 == 0) ? 0.85f : 1.0f;
    float n = 0.9f + 0.2f * fbm(x / 40, y / 40, 5, 3);
    return scaled(c, scan * n);
  });
  img.fillRect(0, top, 800, top + 4, kRed);
  img.fillRect(0, bottom - 4, 800, bottom, kRed);
  Mask text = renderText(Face::SansBold, "GAME OVER", 90, 0, 8);
  int tx = centred(0, 800, text.width), ty = int(top) + 26;
  img.drawMask(blur(padded(text, 24), 8), tx - 24, ty - 24, rgb(255, 60, 40, 0.8f));
  outlinedText(img, text, tx, ty, rgb(255, 230, 150), rgb(240, 70, 40), rgb(30, 4, 4), 4);
  Mask sub = renderText(Face::SansBold, "THE RELAY STAYS SILENT", 24, 0, 5);
  outlinedText(img, sub, centred(0, 800, sub.width), ty + text.height + 24, rgb(255, 170, 150),
               rgb(220, 110, 100), rgb(30, 4, 4), 2);
  return img;
}

Image staff() {
  Image img(1024, 1024, kSpace);
  img.verticalGradient(0, 600, rgb(4, 6, 20), rgb(14, 20, 48));
  starfield(img, 21, 700, 0.9f);
  nebula(img, 22, rgb(40, 20, 70), 0.6f);
  Mask head = renderText(Face::SansBold, "STAFF", 56, 0, 10);
  outlinedText(img, head, centred(0, 800, head.width), 48, kText, kCyan, rgb(6, 10, 30), 3);
  struct Line {
    const char* role;
    const char* who;
  };
  const Line lines[] = {
      {"GAME DESIGN AND PROGRAMMING", "THE TERVO PROJECT"},
      {"GRAPHICS AND MODELS", "THE TERVO PROJECT ASSET GENERATOR"},
      {"MUSIC AND SOUND", "THE TERVO PROJECT ASSET GENERATOR"},
      {"VOICES", "ESPEAK NG"},
      {"LETTERING", "DEJAVU FONTS"},
  };
  int y = 150;
  for (const Line& l : lines) {
    Mask r = renderText(Face::Sans, l.role, 18, 0, 3);
    outlinedText(img, r, centred(0, 800, r.width), y, kAmber, kAmber, rgb(10, 8, 4), 1);
    Mask w = renderText(Face::SansBold, l.who, 26, 0, 2);
    outlinedText(img, w, centred(0, 800, w.width), y + 28, kText, rgb(170, 190, 230), rgb(6, 8, 24), 2);
    y += 78;
  }
  Mask thanks = renderText(Face::SansBold, "THANK YOU FOR PLAYING", 32, 0, 5);
  outlinedText(img, thanks, centred(0, 800, thanks.width), 548, kCyan, rgb(40, 140, 230), rgb(6, 8, 24), 2);
  return img;
}

Image storyBackground() {
  Image img(1024, 1024, kSpace);
  img.verticalGradient(0, 1024, rgb(2, 3, 12), rgb(10, 8, 28));
  nebula(img, 31, rgb(60, 24, 40), 0.5f);
  starfield(img, 32, 900, 1.0f);
  return img;
}

}  // namespace

void addStoryPictures(Builders& b);

void addScreenImages(Builders& b) {
  b.images["t/title.png"] = title;
  b.images["t/gameover.png"] = gameOver;
  b.images["t/staff.png"] = staff;
  b.images["t/story.png"] = storyBackground;
  addStoryPictures(b);
}

}  // namespace assetgen
