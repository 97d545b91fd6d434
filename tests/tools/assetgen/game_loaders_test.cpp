// The pack through the game's own readers: the graphics layer's .x reader
// and PNG loader with colour keys, the multimedia file functions in the
// order the sound banks use them, and the music player's track decoder.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "audio/track_image.h"
#include "check/png_check.h"
#include "check/xfile_check.h"
#include "manifest.h"
#include "pack_files.h"
#include "platform/audio/mmio.h"
#include "platform/audio/pcm.h"
#include "platform/gfx/png_image.h"
#include "platform/gfx/xfile_parser.h"

namespace assetgen {
namespace {

TEST(PackInGameReaders, MeshesLoadWithTheirTrianglesAndMaterials) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Mesh) continue;
    SCOPED_TRACE(e.path);
    std::string text = test::readText(test::packDir() / e.path), err;
    platform::gfx::MeshData data;
    ASSERT_TRUE(platform::gfx::parseXFile(text, data, &err)) << err;
    XMesh mine;
    ASSERT_TRUE(parseXFile(text, mine, err)) << err;
    EXPECT_EQ(data.triangles(), mine.faces.size());
    EXPECT_EQ(data.materials.size(), mine.materials.size());
    EXPECT_EQ(data.subsets.size(), data.materials.size());
    for (const auto& v : data.vertices) EXPECT_GT(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 0.9f);
  }
}

TEST(PackInGameReaders, TexturesLoadAndTheirKeyClearsExactlyTheKeyedPixels) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Texture && e.kind != Kind::Icon) continue;
    SCOPED_TRACE(e.path);
    std::vector<uint8_t> bytes = test::readBytes(test::packDir() / e.path);
    platform::gfx::MipLevel level;
    bool hasAlpha = false;
    ASSERT_TRUE(platform::gfx::decodePng(bytes.data(), bytes.size(), level, hasAlpha));
    EXPECT_EQ(level.width, e.tex.width);
    EXPECT_EQ(level.height, e.tex.height);
    EXPECT_EQ(hasAlpha, e.tex.alpha);
    PngImage mine;
    std::string err;
    ASSERT_TRUE(readPng((test::packDir() / e.path).string(), mine, err)) << err;
    size_t keyed = 0, alphaBefore = 0;
    for (int y = 0; y < mine.height; ++y)
      for (int x = 0; x < mine.width; ++x) {
        keyed += e.kind == Kind::Texture && mine.argb(x, y) == e.tex.key;
        alphaBefore += (mine.argb(x, y) >> 24) == 0;
      }
    platform::gfx::applyColorKey(level, e.kind == Kind::Texture ? e.tex.key : 0);
    size_t clear = 0;
    for (size_t i = 3; i < level.rgba.size(); i += 4) clear += level.rgba[i] == 0;
    EXPECT_EQ(clear, keyed + alphaBefore);
  }
}

TEST(PackInGameReaders, SoundsReadByTheBanksSteps) {
  using namespace platform;
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Sound) continue;
    SCOPED_TRACE(e.path);
    std::string path = (test::packDir() / e.path).string();
    HMMIO h = mmioOpenA(path.c_str(), nullptr, MMIO_ALLOCBUF);
    ASSERT_NE(h, nullptr);
    MMCKINFO riff{}, fmt{}, data{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), 0u);
    ASSERT_EQ(mmioDescend(h, &fmt, &riff, 0), 0u);
    EXPECT_EQ(fmt.ckid, mmioFOURCC('f', 'm', 't', ' ')) << "the format chunk is not first";
    WAVEFORMATEX wf{};
    char raw[18] = {};
    ASSERT_EQ(mmioRead(h, raw, 18), 18);
    std::memcpy(&wf.wFormatTag, raw, 2);
    std::memcpy(&wf.nChannels, raw + 2, 2);
    std::memcpy(&wf.nSamplesPerSec, raw + 4, 4);
    std::memcpy(&wf.nAvgBytesPerSec, raw + 8, 4);
    std::memcpy(&wf.nBlockAlign, raw + 12, 2);
    std::memcpy(&wf.wBitsPerSample, raw + 14, 2);
    EXPECT_EQ(wf.wFormatTag, 1);
    ASSERT_EQ(mmioAscend(h, &fmt, 0), 0u);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), 0u);
    std::vector<uint8_t> pcm(data.cksize);
    ASSERT_EQ(mmioRead(h, reinterpret_cast<char*>(pcm.data()), LONG(pcm.size())), LONG(pcm.size()));
    mmioClose(h, 0);
    audio::PcmView view = audio::convertPcm(wf, pcm.data(), pcm.size());
    ASSERT_FALSE(view.empty());
    EXPECT_EQ(view.channels, e.sound.channels);
    EXPECT_EQ(int(view.rate), e.sound.rate);
  }
}

TEST(PackInGameReaders, MusicDecodesIntoTrackImages) {
  for (const AssetEntry& e : manifest()) {
    if (e.kind != Kind::Music) continue;
    SCOPED_TRACE(e.path);
    std::FILE* f = std::fopen((test::packDir() / e.path).string().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::atomic<bool> cancel{false};
    TrackImage image = decodeTrack(f, cancel, size_t(1) << 30);
    ASSERT_TRUE(image);
    const uint8_t* h = image.bytes.get();
    int channels = h[22] | h[23] << 8;
    long rate = long(h[24] | h[25] << 8 | h[26] << 16 | uint32_t(h[27]) << 24);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    double seconds = double(image.sampleBytes) / (4.0 * 44100);
    EXPECT_GE(seconds, e.music.minSeconds);
    EXPECT_LE(seconds, e.music.maxSeconds);
  }
}

}  // namespace
}  // namespace assetgen
