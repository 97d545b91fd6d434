// The gallery draws every mesh visibly from each of its three angles with
// the game's graphics layer, lays out every image, shows the clear word
// from both sides, and lays play screenshots out for the play sheet.
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
  // The play sheet's montage: pictures halved into a grid under their
  // labels, a cell without a picture left blank.
  std::string montage = std::string("'") + GALLERY_EXE + "' --montage '" + (dir / "m.png").string() + "' 2 'clear=" +
                        (dir / "sheet-clear.png").string() + "' 'not reached=' >/dev/null 2>&1";
  ASSERT_EQ(std::system(montage.c_str()), 0);
  PngImage grid;
  ASSERT_TRUE(readPng((dir / "m.png").string(), grid, err)) << err;
  ASSERT_EQ(grid.width, 6 + 2 * 406);
  ASSERT_EQ(grid.height, 6 + 330);
  int shown[2] = {0, 0};
  for (int cell = 0; cell < 2; ++cell)
    for (int y = 30; y < 330; ++y)
      for (int x = 6 + cell * 406; x < 406 + cell * 406; ++x) shown[cell] += (grid.argb(x, y) & 0xFFFFFF) != 0x181818;
  EXPECT_GT(shown[0], 1000);
  EXPECT_EQ(shown[1], 0);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace assetgen
#endif
