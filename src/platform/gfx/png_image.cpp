// PNG decoding through libpng's simplified API, colour key and mip chain.
#include "platform/gfx/png_image.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace platform::gfx {

namespace {

// Begins a read and checks the size; false (nothing to free) on failure.
bool beginRead(png_image& image, const std::uint8_t* data, std::size_t size, bool& hasAlpha) {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    if (image.width == 0 || image.height == 0 || image.width > kMaxTextureSize ||
        image.height > kMaxTextureSize) {
        png_image_free(&image);
        return false;
    }
    hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    return true;
}

}  // namespace

bool decodePng(const std::uint8_t* data, std::size_t size, MipLevel& out, bool& hasAlpha) {
    png_image image;
    if (!beginRead(image, data, size, hasAlpha)) return false;
    MipLevel level;
    level.width = static_cast<int>(image.width);
    level.height = static_cast<int>(image.height);
    level.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, level.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    // Warnings (a bad CRC in an ancillary chunk, say) still give a picture.
    out = std::move(level);
    return true;
}

void applyColorKey(MipLevel& image, D3DCOLOR key) {
    if (key == 0) return;
    const std::uint8_t ka = key >> 24, kr = (key >> 16) & 0xFF, kg = (key >> 8) & 0xFF,
                       kb = key & 0xFF;
    std::uint8_t* p = image.rgba.data();
    const std::size_t n = image.rgba.size() / 4;
    for (std::size_t i = 0; i < n; ++i, p += 4) {
        if (p[0] == kr && p[1] == kg && p[2] == kb && p[3] == ka) {
            p[0] = p[1] = p[2] = p[3] = 0;
        }
    }
}

namespace {
// A side of the next level down.
int halved(int side) { return side > 1 ? side / 2 : 1; }

MipLevel halve(const MipLevel& src) {
    MipLevel dst;
    dst.width = halved(src.width);
    dst.height = halved(src.height);
    dst.rgba.resize(std::size_t(dst.width) * dst.height * 4);
    for (int y = 0; y < dst.height; ++y) {
        for (int x = 0; x < dst.width; ++x) {
            unsigned sum[3] = {0, 0, 0};
            unsigned alpha = 0, samples = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const int sx = std::min(2 * x + dx, src.width - 1);
                    const int sy = std::min(2 * y + dy, src.height - 1);
                    const std::uint8_t* p = &src.rgba[(std::size_t(sy) * src.width + sx) * 4];
                    for (int c = 0; c < 3; ++c) sum[c] += unsigned{p[c]} * p[3];
                    alpha += p[3];
                    ++samples;
                }
            }
            std::uint8_t* q = &dst.rgba[(std::size_t(y) * dst.width + x) * 4];
            for (int c = 0; c < 3; ++c) q[c] = alpha ? (sum[c] + alpha / 2) / alpha : 0;
            q[3] = static_cast<std::uint8_t>((alpha + samples / 2) / samples);
        }
    }
    return dst;
}
}  // namespace

std::vector<MipLevel> buildMipChain(MipLevel level0) {
    std::vector<MipLevel> levels;
    levels.push_back(std::move(level0));
    while (levels.back().width > 1 || levels.back().height > 1) {
        MipLevel next = halve(levels.back());
        levels.push_back(std::move(next));
    }
    return levels;
}

int mipLevelCount(int width, int height) {
    int count = 1;
    while (width > 1 || height > 1) {
        width = halved(width);
        height = halved(height);
        ++count;
    }
    return count;
}

std::vector<MipLevel> textureLevels(TextureSource source) {
    applyColorKey(source.image, source.colorKey);
    return buildMipChain(std::move(source.image));
}

bool writePng(const char* path, int width, int height, const std::vector<std::uint8_t>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != std::size_t(width) * height * 4) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path, 0, rgba.data(), 0, nullptr) != 0;
}

bool writePngRgb(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != std::size_t(width) * height * 3) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
}

}  // namespace platform::gfx
