// PNG decoding for textures: any PNG libpng reads, turned into RGBA8 with its
// stored values (no gamma or colour-space conversion), with
// the colour key applied and a full mip chain built. Input is untrusted:
// sizes are bounded and every libpng error is a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/d3d9types.h"
#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

constexpr int kMaxTextureSize = 8192;

// Level 0 of the file; hasAlpha says whether the file carries alpha (an
// alpha channel or a transparency chunk).
bool decodePng(const std::uint8_t* data, std::size_t size, MipLevel& out, bool& hasAlpha);

// Texels equal to the key (compared as A8R8G8B8; a file without alpha counts
// as opaque) become transparent black. A key of 0 keys nothing.
void applyColorKey(MipLevel& image, D3DCOLOR key);

// Level 0 and every halving down to 1 x 1. Each texel of a smaller level is
// the alpha-weighted mean of up to four texels above it, so transparent
// texels never darken the edges of what is drawn.
std::vector<MipLevel> buildMipChain(MipLevel level0);

// How many levels buildMipChain makes for a level 0 of this size.
int mipLevelCount(int width, int height);

// A texture's levels: keyed and halved.
std::vector<MipLevel> textureLevels(TextureSource source);

// Writes RGBA8 rows (top to bottom) as a PNG file; false on any error.
bool writePng(const char* path, int width, int height, const std::vector<std::uint8_t>& rgba);
// The same for RGB rows: a file without alpha.
bool writePngRgb(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace platform::gfx
