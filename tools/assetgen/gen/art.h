// Shared painting helpers that give the pack one look: the palette, star
// fields, the corridor in perspective, the interceptor's silhouette,
// outlined text and chamfered panels.
#pragma once

#include <string>

#include "gen/font.h"
#include "gen/image.h"

namespace assetgen {

namespace palette {
inline const Color kSpace = rgb(6, 9, 24);
inline const Color kNavy = rgb(16, 24, 52);
inline const Color kPanel = rgb(20, 30, 62);
inline const Color kSteel = rgb(120, 140, 175);
inline const Color kCyan = rgb(70, 215, 255);
inline const Color kAmber = rgb(255, 178, 56);
inline const Color kRed = rgb(238, 64, 52);
inline const Color kMagenta = rgb(225, 70, 170);
inline const Color kGreen = rgb(90, 235, 140);
inline const Color kText = rgb(232, 238, 255);
}  // namespace palette

void starfield(Image& img, uint32_t seed, int count, float brightness = 1.0f);
void nebula(Image& img, uint32_t seed, Color tint, float strength);

// The game's corridor seen from inside, vanishing at (cx, cy); `depth` is
// how far along the corridor the first cross rib is (for variety).
// The floor's guide lights begin `guideFrom` units ahead (a picture with
// text over the near floor starts them further off).
void corridorScene(Image& img, float cx, float cy, float scale, float depth, Color accent, float guideFrom = 0);

// The player's interceptor seen from behind and above, centred at (cx, cy),
// about 2 * size pixels wide.
void interceptor(Image& img, float cx, float cy, float size, bool engines);

// Chamfered rectangle outline points.
std::vector<Vec2> chamfered(float x0, float y0, float x1, float y1, float cut);

// Text with a vertical gradient fill and a solid outline of `outline` pixels,
// top-left of the ink at (x, y) (the outline grows outwards from there).
void outlinedText(Image& img, const Mask& text, int x, int y, Color top, Color bottom, Color edge,
                  float outline);

// Centre of a mask placed in a box.
inline int centred(int boxStart, int boxSize, int size) { return boxStart + (boxSize - size) / 2; }

}  // namespace assetgen
