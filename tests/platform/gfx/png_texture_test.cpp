// PNG textures: size from the file, texels as stored in every format, the
// colour key, mip chains, bad files.
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>

#include "gfx_test_util.h"

using namespace platform;
using namespace platform::gfx;
using namespace gfxtest;

namespace {

MipLevel decode(const std::string& path) {
    std::vector<std::uint8_t> file;
    EXPECT_TRUE(readAssetFile(path.c_str(), file));
    MipLevel level;
    bool alpha = false;
    EXPECT_TRUE(decodePng(file.data(), file.size(), level, alpha));
    return level;
}

// What a file of one row carries besides its pixels.
struct RawPng {
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<std::uint8_t> row;      // packed as the format stores it
    std::vector<png_color> palette;
    std::vector<std::uint8_t> paletteAlpha;
    double gamma = 0;                   // a gAMA chunk when above 0
    bool srgb = false, chrm = false, iccp = false;
};

// Writes a one-row PNG with libpng itself, in formats and with chunks the
// game's own writer never makes.
bool writeRawPng(const std::string& path, int width, const RawPng& raw) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_set_benign_errors(png, 1);  // a made-up ICC profile is only warned about
    png_init_io(png, f);
    png_set_IHDR(png, info, width, 1, raw.bitDepth, raw.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!raw.palette.empty()) png_set_PLTE(png, info, raw.palette.data(), static_cast<int>(raw.palette.size()));
    if (!raw.paletteAlpha.empty())
        png_set_tRNS(png, info, raw.paletteAlpha.data(), static_cast<int>(raw.paletteAlpha.size()), nullptr);
    if (raw.gamma > 0) png_set_gAMA(png, info, raw.gamma);
    if (raw.srgb) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    if (raw.chrm) png_set_cHRM(png, info, 0.3127, 0.329, 0.64, 0.33, 0.3, 0.6, 0.15, 0.06);
    if (raw.iccp) {
        // A header-only profile: 132 bytes, no tags, RGB data, XYZ connection space.
        std::vector<std::uint8_t> icc(132, 0);
        auto be32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) icc[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
        };
        be32(0, 132);
        be32(8, 0x02100000);
        std::memcpy(&icc[12], "mntr", 4);
        std::memcpy(&icc[16], "RGB ", 4);
        std::memcpy(&icc[20], "XYZ ", 4);
        std::memcpy(&icc[36], "acsp", 4);
        be32(68, 0x0000F6D6), be32(72, 0x00010000), be32(76, 0x0000D32D);  // D50
        png_set_iCCP(png, info, "test", 0, icc.data(), static_cast<png_uint_32>(icc.size()));
    }
    png_write_info(png, info);
    std::vector<std::uint8_t> row = raw.row;
    png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

MipLevel decodeRaw(const std::string& name, int width, const RawPng& raw, bool& alpha) {
    const std::string path = scratchPath(name);
    EXPECT_TRUE(writeRawPng(path, width, raw)) << name;
    std::vector<std::uint8_t> file;
    EXPECT_TRUE(readAssetFile(path.c_str(), file));
    MipLevel level;
    EXPECT_TRUE(decodePng(file.data(), file.size(), level, alpha)) << name;
    return level;
}

TEST(PngTexture, TexelsAreTheStoredValuesWhateverTheFormatAndColourChunks) {
    // The full-screen pictures' key colour, a near-white and two others.
    const std::vector<std::uint8_t> keyed = {254, 254, 254, 253, 253, 253, 10, 128, 200, 255, 0, 1};
    const std::vector<std::uint8_t> want = {254, 254, 254, 255, 253, 253, 253, 255,
                                            10,  128, 200, 255, 255, 0,   1,   255};
    bool alpha = true;
    RawPng plain;
    plain.row = keyed;
    EXPECT_EQ(decodeRaw("plain.png", 4, plain, alpha).rgba, want);
    EXPECT_FALSE(alpha);
    for (int chunk = 0; chunk < 5; ++chunk) {
        RawPng tagged = plain;
        tagged.gamma = chunk == 0 ? 1.0 : chunk == 1 ? 1 / 2.2 : 0;
        tagged.srgb = chunk == 2;
        tagged.chrm = chunk == 3;
        tagged.iccp = chunk == 4;
        MipLevel level = decodeRaw("tagged.png", 4, tagged, alpha);
        EXPECT_EQ(level.rgba, want) << "chunk " << chunk;
        // Keyed out exactly like the same picture without the chunk.
        applyColorKey(level, 0xFFFEFEFE);
        EXPECT_EQ(std::vector<std::uint8_t>(level.rgba.begin(), level.rgba.begin() + 8),
                  (std::vector<std::uint8_t>{0, 0, 0, 0, 253, 253, 253, 255}))
            << "chunk " << chunk;
    }

    // 16 bits a channel: the high byte, not a conversion from linear light.
    RawPng deep;
    deep.bitDepth = 16;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.row = {0xFE, 0xFF, 0xFE, 0x00, 0xFE, 0x80, 0xFF, 0xFF, 0x40, 0x00, 0x80, 0xFF, 0x10, 0x00, 0x7F, 0xFF};
    EXPECT_EQ(decodeRaw("deep.png", 2, deep, alpha).rgba,
              (std::vector<std::uint8_t>{254, 254, 254, 255, 64, 128, 16, 127}));
    EXPECT_TRUE(alpha);

    // A palette with transparency, grey of 2 and 16 bits, grey with alpha.
    RawPng indexed;
    indexed.colorType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = {{254, 254, 254}, {0, 0, 0}, {200, 100, 50}};
    indexed.paletteAlpha = {255, 0};
    indexed.row = {0, 1, 2};
    EXPECT_EQ(decodeRaw("indexed.png", 3, indexed, alpha).rgba,
              (std::vector<std::uint8_t>{254, 254, 254, 255, 0, 0, 0, 0, 200, 100, 50, 255}));
    EXPECT_TRUE(alpha);
    RawPng grey2;
    grey2.colorType = PNG_COLOR_TYPE_GRAY;
    grey2.bitDepth = 2;
    grey2.row = {0b00011011};
    EXPECT_EQ(decodeRaw("grey2.png", 4, grey2, alpha).rgba,
              (std::vector<std::uint8_t>{0, 0, 0, 255, 85, 85, 85, 255, 170, 170, 170, 255, 255, 255, 255, 255}));
    EXPECT_FALSE(alpha);
    RawPng grey16 = grey2;
    grey16.bitDepth = 16;
    grey16.gamma = 1.0;
    grey16.row = {0xFE, 0xFF, 0x01, 0x00};
    EXPECT_EQ(decodeRaw("grey16.png", 2, grey16, alpha).rgba,
              (std::vector<std::uint8_t>{254, 254, 254, 255, 1, 1, 1, 255}));
    RawPng greyAlpha;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.row = {254, 255, 30, 40};
    EXPECT_EQ(decodeRaw("greyalpha.png", 2, greyAlpha, alpha).rgba,
              (std::vector<std::uint8_t>{254, 254, 254, 255, 30, 30, 30, 40}));
    EXPECT_TRUE(alpha);
}

TEST(PngTexture, ColourKeyClearsOnlyExactOpaqueMatches) {
    // Black, near-black, black but half transparent, and white.
    std::vector<std::uint8_t> p = solid(4, 1, 255, 255, 255);
    setTexel(p, 4, 0, 0, 0, 0, 0);
    setTexel(p, 4, 1, 0, 1, 0, 0);
    setTexel(p, 4, 2, 0, 0, 0, 0, 128);
    const std::string path = scratchPath("key.png");
    ASSERT_TRUE(writePng(path.c_str(), 4, 1, p));
    MipLevel level = decode(path);
    applyColorKey(level, 0xFF000000);
    const std::vector<std::uint8_t> want = {0, 0, 0, 0, 1, 0, 0, 255, 0, 0, 0, 128, 255, 255, 255, 255};
    EXPECT_EQ(level.rgba, want);
}

TEST(PngTexture, FileWithoutAlphaCountsAsOpaque) {
    std::vector<std::uint8_t> rgb = {254, 254, 254, 10, 20, 30};
    const std::string path = scratchPath("rgb.png");
    ASSERT_TRUE(writePngRgb(path.c_str(), 2, 1, rgb));
    MipLevel level = decode(path);
    applyColorKey(level, 0xFFFEFEFE);
    const std::vector<std::uint8_t> want = {0, 0, 0, 0, 10, 20, 30, 255};
    EXPECT_EQ(level.rgba, want);
    applyColorKey(level, 0);  // no key: nothing changes
    EXPECT_EQ(level.rgba, want);
}

TEST(PngTexture, MipChainGoesDownToOneTexelWithoutDarkening) {
    // 5 x 3 white with a transparent black column: every smaller level stays
    // white where it has any coverage.
    std::vector<std::uint8_t> p = solid(5, 3, 255, 255, 255);
    for (int y = 0; y < 3; ++y) setTexel(p, 5, 0, y, 0, 0, 0, 0);
    MipLevel l0{5, 3, p};
    const auto chain = buildMipChain(l0);
    ASSERT_EQ(chain.size(), 3u);  // 5x3, 2x1, 1x1
    EXPECT_EQ(chain[1].width, 2);
    EXPECT_EQ(chain[1].height, 1);
    EXPECT_EQ(chain[2].width, 1);
    EXPECT_EQ(chain[2].height, 1);
    for (const MipLevel& l : chain)
        for (std::size_t i = 0; i < l.rgba.size(); i += 4) {
            if (l.rgba[i + 3] > 0) {
                EXPECT_EQ(l.rgba[i], 255);
            }
        }
    EXPECT_EQ(chain[1].rgba[3], 128);  // half of the first 2x2 block is transparent

    // The weighted mean rounds to nearest at the extremes of coverage: one
    // texel of alpha 1 keeps its colour (its coverage rounds to 0), and 1, 2,
    // 2, 2 over alphas of 255 give 2.
    std::vector<std::uint8_t> q = solid(2, 2, 0, 0, 0, 0);
    setTexel(q, 2, 1, 1, 251, 7, 255, 1);
    EXPECT_EQ(buildMipChain(MipLevel{2, 2, q})[1].rgba, (std::vector<std::uint8_t>{251, 7, 255, 0}));
    std::vector<std::uint8_t> r = solid(2, 2, 2, 2, 2);
    setTexel(r, 2, 0, 0, 1, 1, 1, 255);
    EXPECT_EQ(buildMipChain(MipLevel{2, 2, r})[1].rgba, (std::vector<std::uint8_t>{2, 2, 2, 255}));
}

TEST(PngTexture, LoaderTakesSizeFromTheFileAndFailsOnBadFiles) {
    IDirect3DDevice9* d = recordingDevice();
    const std::string path = scratchPath("size.png");
    ASSERT_TRUE(writePng(path.c_str(), 12, 7, solid(12, 7, 1, 2, 3)));
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(d, path.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000,
                                           nullptr, nullptr, &tex),
              S_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), S_OK);
    EXPECT_EQ(desc.Width, 12u);
    EXPECT_EQ(desc.Height, 7u);
    EXPECT_EQ(tex->GetLevelCount(), 4u);  // 12x7, 6x3, 3x1, 1x1
    tex->Release();

    // Backslashed names as the game writes them.
    std::string backslashed = path;
    for (char& c : backslashed)
        if (c == '/') c = '\\';
    tex = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileExA(d, backslashed.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                           nullptr, &tex),
              S_OK);
    if (tex) tex->Release();

    auto load = [&](const std::string& p) {
        IDirect3DTexture9* t = nullptr;
        const HRESULT hr = D3DXCreateTextureFromFileExA(d, p.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                                        D3DPOOL_MANAGED, D3DX_DEFAULT,
                                                        D3DX_DEFAULT, 0, nullptr, nullptr, &t);
        EXPECT_EQ(t, nullptr);
        return hr;
    };
    EXPECT_TRUE(FAILED(load(scratchPath("missing.png"))));
    const std::string junk = scratchPath("junk.png");
    writeText(junk, "not a picture at all");
    EXPECT_TRUE(FAILED(load(junk)));
    // A real PNG cut short.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readAssetFile(path.c_str(), bytes));
    const std::string cut = scratchPath("cut.png");
    writeText(cut, std::string(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_TRUE(FAILED(load(cut)));
    d->Release();
}

}  // namespace
