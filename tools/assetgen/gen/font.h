// Font: text rendered with FreeType from the Debian DejaVu fonts into
// coverage masks that the texture painters colour and outline.
#pragma once

#include <string>

#include "gen/image.h"

namespace assetgen {

enum class Face { Sans, SansBold, MonoBold, SerifBold };

// Renders one line of ASCII text at a pixel size; the mask is tight around
// the ink plus `pad` empty pixels on every side. `tracking` adds pixels
// between letters.
Mask renderText(Face face, const std::string& text, int pixelSize, int pad = 0, float tracking = 0);

// Text scaled down so it is no wider than maxWidth (in steps of the size).
Mask renderFitted(Face face, const std::string& text, int pixelSize, int maxWidth, int pad = 0);

// Path of the font file used for a face.
std::string fontPath(Face face);

}  // namespace assetgen
