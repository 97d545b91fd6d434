// The gallery draws every mesh visibly from each of its three angles with
// the game's graphics layer, lays out every image, and shows the clear word
// from both sides.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "check/png_check.h"
#include "manifest.h"
#include "pack_files.h"

#ifdef GALLERY_EXE
namespace assetgen {
namespace {

TEST(Gallery, SheetsShowEveryMeshAndImage) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tervo-gallery-" + std::to_string(getpid()));
  fs::create_directories(dir);
  // The GL driver keeps a few allocations to the end of the process, which a
  // sanitizer build would report as leaks of the gallery.
  std::string cmd = std::string("ASAN_OPTIONS=detect_leaks=0 '") + GALLERY_EXE + "' --headless --sheet '" + (dir / "sheet.png").string() +
                    "' '" + test::packDir().string() + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "the gallery could not render here (no OpenGL 3.3?)";
  PngImage meshes, images, clear;
  std::string err;
  ASSERT_TRUE(readPng((dir / "sheet.png").string(), meshes, err)) << err;
  ASSERT_TRUE(readPng((dir / "sheet-images.png").string(), images, err)) << err;
  ASSERT_TRUE(readPng((dir / "sheet-clear.png").string(), clear, err)) << err;
  int count = 0;
  for (const AssetEntry& e : manifest()) count += e.kind == Kind::Mesh;
  const int tileW = 400, tileH = 300, perRow = 6;
  ASSERT_EQ(meshes.width, tileW * perRow);
  for (int t = 0; t < count * 3; ++t) {
    int x0 = (t % perRow) * tileW, y0 = (t / perRow) * tileH, drawn = 0;
    for (int y = y0; y < y0 + tileH; ++y)
      for (int x = x0; x < x0 + tileW; ++x) drawn += (meshes.argb(x, y) & 0xFFFFFF) != 0x283040;
    EXPECT_GT(drawn, 150) << "mesh view " << t << " shows nothing";
  }
  EXPECT_GT(images.height, 4000);
  ASSERT_EQ(clear.width, 1600);
  for (int panel = 0; panel < 2; ++panel) {
    int drawn = 0;
    for (int y = 0; y < clear.height; ++y)
      for (int x = panel * 800; x < panel * 800 + 800; ++x) drawn += (clear.argb(x, y) & 0xFFFFFF) != 0x283040;
    EXPECT_GT(drawn, 2000) << "clear view " << panel << " misses letters";
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace assetgen
#endif
