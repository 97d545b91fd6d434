// Story captions and the title menu's entries and descriptions. All use
// the black colour key: outlines and boxes are dark blue, never near black,
// so their hard edges show no halo.
#include <algorithm>
#include <vector>

#include "gen/art.h"
#include "gen/pack.h"
#include "textures/story_text.h"

namespace assetgen {
namespace {

using namespace palette;
const Color kEdge = rgb(22, 30, 64);

// A caption box at the texture's top-left with one or two lines of text.
Image captionBox(int w, int h, int maxWidth, const std::vector<std::string>& lines, int size,
                 Color textTop) {
  Image img(w, h, {0, 0, 0, 0});
  std::vector<Mask> masks;
  int textW = 0;
  for (const std::string& l : lines) {
    masks.push_back(renderFitted(Face::Sans, l, size, maxWidth - 40));
    textW = std::max(textW, masks.back().width);
  }
  const int lineH = size + 10;
  int boxW = std::min(maxWidth, textW + 40), boxH = int(lines.size()) * lineH + 22;
  img.fillPolygonWith(chamfered(0, 0, float(boxW), float(boxH), 10), [&](float, float y) {
    return mix(rgb(24, 34, 72), rgb(12, 18, 42), y / boxH);
  });
  // Border: cyan line just inside the edge.
  std::vector<Vec2> outer = chamfered(0, 0, float(boxW), float(boxH), 10);
  for (size_t i = 0; i < outer.size(); ++i) {
    Vec2 a = outer[i], b = outer[(i + 1) % outer.size()];
    img.line(a.x, a.y, b.x, b.y, 3, scaled(kCyan, 0.85f));
  }
  int y = 12;
  for (const Mask& m : masks) {
    int baselineShift = (size - m.height) / 2;
    outlinedText(img, m, 20, y + std::max(0, baselineShift), textTop, rgb(180, 200, 235), kEdge, 1.5f);
    y += lineH;
  }
  return img;
}

Image menuEntry(const char* word, bool highlighted) {
  Image img(256, 64, {0, 0, 0, 0});
  Mask m = renderText(Face::SansBold, word, 34, 0, 4);
  int ty = centred(0, 64, m.height);
  if (highlighted) {
    img.fillPolygon({{6, 18}, {20, 32}, {6, 46}}, kCyan);
    // The underline sits close under the word: under HARD it must clear
    // the description box below the menu.
    img.fillPolygon({{28, 46}, {float(40 + m.width), 46}, {float(34 + m.width), 50}, {28, 50}},
                    scaled(kCyan, 0.9f));
    outlinedText(img, m, 30, ty - 2, rgb(255, 236, 150), rgb(255, 150, 40), rgb(60, 28, 8), 3);
  } else {
    outlinedText(img, m, 30, ty - 2, rgb(160, 178, 212), rgb(104, 120, 158), kEdge, 2);
  }
  return img;
}

Image description(const char* text, int maxWidth) {
  Image img(512, 64, {0, 0, 0, 0});
  Mask m = renderFitted(Face::Sans, text, 19, maxWidth - 8);
  outlinedText(img, m, 4, 14, kText, rgb(170, 190, 225), kEdge, 2);
  return img;
}

// The pause caption: a translucent panel with PAUSED and how to go on,
// drawn centred over the dimmed picture.
Image pauseCaption() {
  Image img(512, 128, {0, 0, 0, 0});
  const float x0 = 36, y0 = 10, x1 = 476, y1 = 118;
  img.fillPolygonWith(chamfered(x0, y0, x1, y1, 14), [&](float, float y) {
    return mix(rgb(24, 34, 72, 0.88f), rgb(12, 18, 42, 0.88f), (y - y0) / (y1 - y0));
  });
  std::vector<Vec2> border = chamfered(x0, y0, x1, y1, 14);
  for (size_t i = 0; i < border.size(); ++i) {
    Vec2 a = border[i], b = border[(i + 1) % border.size()];
    img.line(a.x, a.y, b.x, b.y, 3, scaled(kCyan, 0.85f));
  }
  Mask word = renderText(Face::SansBold, "PAUSED", 52, 0, 8);
  outlinedText(img, word, centred(0, 512, word.width), 22, kText, rgb(150, 200, 255), kEdge, 3);
  Mask hint = renderText(Face::Sans, "Press P or START to resume", 17);
  outlinedText(img, hint, centred(0, 512, hint.width), 86, rgb(190, 205, 235), rgb(150, 165, 200), kEdge, 1.5f);
  return img;
}

}  // namespace

void addCaptionImages(Builders& b) {
  b.images["t/moji1.png"] = [] { return captionBox(512, 64, 440, {storyLine(0)}, 22, rgb(255, 214, 130)); };
  for (int i = 1; i < 6; ++i) {
    std::string path = "t/moji" + std::to_string(i + 1) + ".png";
    b.images[path] = [i] { return captionBox(1024, 128, 640, storyCaption(i), 24, kText); };
  }
  b.images["t/easy.png"] = [] { return menuEntry("EASY", false); };
  b.images["t/easy2.png"] = [] { return menuEntry("EASY", true); };
  b.images["t/normal.png"] = [] { return menuEntry("NORMAL", false); };
  b.images["t/normal2.png"] = [] { return menuEntry("NORMAL", true); };
  b.images["t/hard.png"] = [] { return menuEntry("HARD", false); };
  b.images["t/hard2.png"] = [] { return menuEntry("HARD", true); };
  b.images["t/easy3.png"] = [] { return description("Each wave comes once. A calm first flight.", 490); };
  b.images["t/normal3.png"] = [] { return description("Cleared waves return. The real fight.", 490); };
  b.images["t/hard3.png"] = [] { return description("Every wave, again and again.", 350); };
  b.images["t/paused.png"] = pauseCaption;
}

}  // namespace assetgen
