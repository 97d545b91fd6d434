// The texture loader's PNG files read ahead on a thread: what the loader gets
// is what it would have read itself, and a file changed since is read again.
#include <gtest/gtest.h>

#include <filesystem>

#include "gfx_test_util.h"
#include "platform/gfx/png_read_ahead.h"

using namespace platform::gfx;
using namespace gfxtest;

namespace {

void expectSame(const LoadedPng& got, const LoadedPng& want, const std::string& what) {
    EXPECT_EQ(got.read, want.read) << what;
    EXPECT_EQ(got.decoded, want.decoded) << what;
    EXPECT_EQ(got.hasAlpha, want.hasAlpha) << what;
    EXPECT_EQ(got.image.width, want.image.width) << what;
    EXPECT_EQ(got.image.height, want.image.height) << what;
    EXPECT_EQ(got.image.rgba, want.image.rgba) << what;
}

TEST(PngReadAhead, GivesTheLoaderWhatItWouldHaveReadItself) {
    std::vector<std::uint8_t> picture = solid(9, 5, 10, 20, 30);
    setTexel(picture, 9, 4, 2, 200, 100, 0, 77);
    const std::string withAlpha = scratchPath("ahead-alpha.png");
    ASSERT_TRUE(writePng(withAlpha.c_str(), 9, 5, picture));
    const std::string opaque = scratchPath("ahead-rgb.png");
    ASSERT_TRUE(writePngRgb(opaque.c_str(), 2, 1, {1, 2, 3, 4, 5, 6}));
    const std::string junk = scratchPath("ahead-junk.png");
    writeText(junk, "not a picture");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readAssetFile(withAlpha.c_str(), bytes));
    const std::string cut = scratchPath("ahead-cut.png");
    writeText(cut, std::string(bytes.begin(), bytes.begin() + bytes.size() / 2));
    const std::string missing = scratchPath("ahead-missing.png");
    const std::vector<std::string> files = {withAlpha, opaque, junk, cut, missing};

    // Each file's outcome without the read-ahead.
    std::vector<LoadedPng> alone;
    for (const std::string& f : files) alone.push_back(loadPng(f.c_str()));
    EXPECT_TRUE(alone[0].decoded && alone[0].hasAlpha);
    EXPECT_TRUE(alone[1].decoded && !alone[1].hasAlpha);
    EXPECT_TRUE(alone[2].read && !alone[2].decoded);
    EXPECT_TRUE(alone[3].read && !alone[3].decoded);
    EXPECT_FALSE(alone[4].read);

    startPngReadAhead(files);
    waitForPngReadAhead();
    for (std::size_t i = 0; i < files.size(); ++i) expectSame(loadPng(files[i].c_str()), alone[i], files[i]);
    // Taken once; asked again, it is read again, with the same outcome.
    expectSame(loadPng(withAlpha.c_str()), alone[0], "asked twice");
    stopPngReadAhead();

    // The game names its files with backslashes; the list has native names.
    startPngReadAhead({withAlpha});
    std::string backslashed = withAlpha;
    for (char& c : backslashed)
        if (c == '/') c = '\\';
    expectSame(loadPng(backslashed.c_str()), alone[0], "backslashed, perhaps before the thread got to it");
    stopPngReadAhead();
    expectSame(loadPng(opaque.c_str()), alone[1], "after the stop");
}

TEST(PngReadAhead, AFileChangedOrRemovedSinceIsReadAgain) {
    const std::string changed = scratchPath("ahead-changed.png");
    const std::string removed = scratchPath("ahead-removed.png");
    ASSERT_TRUE(writePng(changed.c_str(), 2, 2, solid(2, 2, 255, 0, 0)));
    ASSERT_TRUE(writePng(removed.c_str(), 2, 2, solid(2, 2, 0, 255, 0)));
    startPngReadAhead({changed, removed});
    waitForPngReadAhead();
    ASSERT_TRUE(writePng(changed.c_str(), 3, 1, solid(3, 1, 0, 0, 255)));
    std::filesystem::remove(removed);

    const LoadedPng now = loadPng(changed.c_str());
    ASSERT_TRUE(now.decoded);
    EXPECT_EQ(now.image.width, 3);
    EXPECT_EQ(now.image.rgba, solid(3, 1, 0, 0, 255));
    EXPECT_FALSE(loadPng(removed.c_str()).read);
    stopPngReadAhead();
}

}  // namespace
