// PNG textures: size from the file, the colour key, mip chains, bad files.
#include <gtest/gtest.h>

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
