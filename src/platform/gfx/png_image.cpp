// PNG decoding through libpng's full API, colour key and mip chain.
#include "platform/gfx/png_image.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>

namespace platform::gfx {

namespace {

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

void readFromMemory(png_structp png, png_bytep to, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > r->size - r->at) png_error(png, "read past the end");
    std::memcpy(to, r->data + r->at, length);
    r->at += length;
}

// Errors end the read at the setjmp in readPng; nothing is printed.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
// Warnings (a bad CRC in an ancillary chunk, say) still give a picture.
void onWarning(png_structp, png_const_charp) {}

// The read itself. Its caller owns every object that lives across the error
// jump, so the jump skips no destructor and clobbers no local that changed.
bool readPng(MemoryReader& reader, MipLevel& level, std::vector<png_bytep>& rows, bool& hasAlpha) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_set_user_limits(png, kMaxTextureSize, kMaxTextureSize);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
               png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "not RGBA8 after the transforms");
    level.width = static_cast<int>(width);
    level.height = static_cast<int>(height);
    level.rgba.resize(std::size_t{width} * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = level.rgba.data() + std::size_t{y} * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

// The texels are the file's own 8-bit values: no gamma, colour-space or ICC
// conversion is asked for, so gAMA, sRGB, cHRM and iCCP chunks change
// nothing (the colour key must match the colours as stored). 16-bit
// channels keep their high byte; palettes, low bit depths and grey are
// expanded to RGBA.
bool decodePng(const std::uint8_t* data, std::size_t size, MipLevel& out, bool& hasAlpha) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    MemoryReader reader{data, size};
    MipLevel level;
    std::vector<png_bytep> rows;
    if (!readPng(reader, level, rows, hasAlpha)) return false;
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

// n / a as (n * r[a]) >> 32, exact for a in 1..1020 (four alphas) and n up to
// 255 a + a / 2 (a rounded mean of colours weighted by those alphas). A
// constant table: the texture decoder thread may still be halving while the
// process ends and destroys its statics.
constexpr std::array<std::uint64_t, 1021> kReciprocals = [] {
    std::array<std::uint64_t, 1021> t{};
    for (std::uint64_t a = 1; a < t.size(); ++a) t[a] = (std::uint64_t{1} << 32) / a + 1;
    return t;
}();

// Each texel is the alpha-weighted mean of the 2 x 2 above it (edge texels
// repeated on odd sides), rounded to nearest.
MipLevel halve(const MipLevel& src) {
    MipLevel dst;
    dst.width = halved(src.width);
    dst.height = halved(src.height);
    dst.rgba.resize(std::size_t(dst.width) * dst.height * 4);
    const std::uint64_t* inverse = kReciprocals.data();
    const std::size_t stride = std::size_t(src.width) * 4;
    for (int y = 0; y < dst.height; ++y) {
        const std::uint8_t* row0 = &src.rgba[std::size_t(std::min(2 * y, src.height - 1)) * stride];
        const std::uint8_t* row1 = &src.rgba[std::size_t(std::min(2 * y + 1, src.height - 1)) * stride];
        std::uint8_t* q = &dst.rgba[std::size_t(y) * dst.width * 4];
        for (int x = 0; x < dst.width; ++x, q += 4) {
            const std::size_t x0 = std::size_t(std::min(2 * x, src.width - 1)) * 4;
            const std::size_t x1 = std::size_t(std::min(2 * x + 1, src.width - 1)) * 4;
            const std::uint8_t* p[4] = {row0 + x0, row0 + x1, row1 + x0, row1 + x1};
            unsigned sum0 = 0, sum1 = 0, sum2 = 0, alpha = 0;
            for (const std::uint8_t* t : p) {
                const unsigned a = t[3];
                sum0 += t[0] * a;
                sum1 += t[1] * a;
                sum2 += t[2] * a;
                alpha += a;
            }
            const std::uint64_t m = inverse[alpha];  // 0 when alpha is 0, and so is every sum
            const unsigned half = alpha / 2;
            q[0] = static_cast<std::uint8_t>(((sum0 + half) * m) >> 32);
            q[1] = static_cast<std::uint8_t>(((sum1 + half) * m) >> 32);
            q[2] = static_cast<std::uint8_t>(((sum2 + half) * m) >> 32);
            q[3] = static_cast<std::uint8_t>((alpha + 2) / 4);
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
