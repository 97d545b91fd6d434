// FreeType text rendering.
#include "gen/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>

namespace assetgen {
namespace {

std::mutex& ftMutex() {
  static std::mutex m;
  return m;
}

FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l)) throw std::runtime_error("FreeType failed to start");
    return l;
  }();
  return lib;
}

FT_Face faceFor(Face f) {
  static std::map<Face, FT_Face> faces;
  auto it = faces.find(f);
  if (it != faces.end()) return it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(library(), fontPath(f).c_str(), 0, &face))
    throw std::runtime_error("cannot open font " + fontPath(f));
  faces[f] = face;
  return face;
}

}  // namespace

std::string fontPath(Face face) {
  const std::string dir = "/usr/share/fonts/truetype/dejavu/";
  switch (face) {
    case Face::Sans: return dir + "DejaVuSans.ttf";
    case Face::SansBold: return dir + "DejaVuSans-Bold.ttf";
    case Face::MonoBold: return dir + "DejaVuSansMono-Bold.ttf";
    case Face::SerifBold: return dir + "DejaVuSerif-Bold.ttf";
  }
  return dir + "DejaVuSans.ttf";
}

Mask renderText(Face which, const std::string& text, int pixelSize, int pad, float tracking) {
  std::lock_guard<std::mutex> lock(ftMutex());
  FT_Face face = faceFor(which);
  FT_Set_Pixel_Sizes(face, 0, pixelSize);
  // First pass: measure with the real glyph boxes.
  struct Glyph {
    int x, y, w, h;
    std::vector<uint8_t> bits;
    int pitch;
  };
  std::vector<Glyph> glyphs;
  float penX = 0;
  FT_UInt prev = 0;
  int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
  for (unsigned char ch : text) {
    FT_UInt gi = FT_Get_Char_Index(face, ch);
    if (prev && gi && FT_HAS_KERNING(face)) {
      FT_Vector k;
      FT_Get_Kerning(face, prev, gi, FT_KERNING_DEFAULT, &k);
      penX += k.x / 64.0f;
    }
    if (FT_Load_Glyph(face, gi, FT_LOAD_DEFAULT) || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL))
      continue;
    FT_GlyphSlot g = face->glyph;
    Glyph gl;
    gl.x = int(std::lround(penX)) + g->bitmap_left;
    gl.y = -g->bitmap_top;
    gl.w = int(g->bitmap.width);
    gl.h = int(g->bitmap.rows);
    gl.pitch = g->bitmap.pitch;
    gl.bits.assign(g->bitmap.buffer, g->bitmap.buffer + size_t(std::abs(gl.pitch)) * gl.h);
    if (gl.w > 0 && gl.h > 0) {
      minX = std::min(minX, gl.x);
      maxX = std::max(maxX, gl.x + gl.w);
      minY = std::min(minY, gl.y);
      maxY = std::max(maxY, gl.y + gl.h);
    }
    glyphs.push_back(std::move(gl));
    penX += g->advance.x / 64.0f + tracking;
    prev = gi;
  }
  if (maxX <= minX) return Mask(1 + 2 * pad, 1 + 2 * pad);
  Mask m(maxX - minX + 2 * pad, maxY - minY + 2 * pad);
  for (const Glyph& gl : glyphs)
    for (int y = 0; y < gl.h; ++y)
      for (int x = 0; x < gl.w; ++x) {
        float v = gl.bits[size_t(y) * std::abs(gl.pitch) + x] / 255.0f;
        float& d = m.ref(gl.x - minX + pad + x, gl.y - minY + pad + y);
        d = std::min(1.0f, d + v);
      }
  return m;
}

Mask renderFitted(Face face, const std::string& text, int pixelSize, int maxWidth, int pad) {
  for (int size = pixelSize; size > 6; --size) {
    Mask m = renderText(face, text, size, pad);
    if (m.width <= maxWidth) return m;
  }
  return renderText(face, text, 6, pad);
}

}  // namespace assetgen
