// The Display device end to end: each frame's device calls in the trace,
// and a headless picture written with --screenshot.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <iterator>

#include "platform/gfx/png_image.h"
#include "support/run_game.h"

namespace fs = std::filesystem;

TEST(DisplayEndToEnd, EveryFrameIsClearedToSkyBlueInsideOneSceneAndPresented) {
    GameRunRequest r;
    r.args = {"--frames", "3"};
    auto run = runGame(r);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 3u);
    for (const auto& line : run.trace) {
        const auto& calls = line["display"]["device"]["calls"];
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[0]["op"].str(), "Clear");
        EXPECT_EQ(calls[0]["args"][1].integer(), 0xff88d9ffLL);
        EXPECT_EQ(calls[1]["op"].str(), "BeginScene");
        EXPECT_EQ(calls[calls.size() - 2]["op"].str(), "EndScene");
        EXPECT_EQ(calls[calls.size() - 1]["op"].str(), "Present");
        EXPECT_EQ(line["display"]["titleScreen"].integer(), 1);
    }
}

TEST(DisplayEndToEnd, ScreenshotWritesThatFramesPicture) {
    const std::string dir = makeTempDir("shot");
    GameRunRequest r;
    r.args = {"--frames", "4", "--screenshot", "2:" + dir + "/two.png"};
    auto run = runGame(r);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::ifstream in(dir + "/two.png", std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    platform::gfx::MipLevel image;
    bool alpha = false;
    ASSERT_TRUE(platform::gfx::decodePng(bytes.data(), bytes.size(), image, alpha));
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 600);
    // Frame 2 shows the title, drawn at (0, -14): the picture's middle row
    // is the title image's row 314, over the sky blue where it is keyed out.
    std::ifstream titleFile(std::string(TERVO_BUILD_DIR) + "/bin/t/title.png", std::ios::binary);
    const std::vector<std::uint8_t> titleBytes((std::istreambuf_iterator<char>(titleFile)),
                                               std::istreambuf_iterator<char>());
    platform::gfx::MipLevel title;
    ASSERT_TRUE(platform::gfx::decodePng(titleBytes.data(), titleBytes.size(), title, alpha));
    int compared = 0, matching = 0;
    for (int x = 0; x < 800; x += 8) {
        const std::uint8_t* want = &title.rgba[((300 + 14) * title.width + x) * 4];
        const std::uint8_t* got = &image.rgba[(300 * 800 + x) * 4];
        const bool keyed = want[0] == 0xFE && want[1] == 0xFE && want[2] == 0xFE;
        const std::uint8_t expected[3] = {keyed ? std::uint8_t{0x88} : want[0], keyed ? std::uint8_t{0xD9} : want[1],
                                          keyed ? std::uint8_t{0xFF} : want[2]};
        ++compared;
        bool same = true;
        for (int c = 0; c < 3; ++c) same = same && std::abs(int(got[c]) - int(expected[c])) <= 3;
        matching += same;
    }
    // Filtering may soften a few texels next to keyed ones.
    EXPECT_GE(matching, compared * 9 / 10) << matching << " of " << compared;
    EXPECT_FALSE(fs::exists(dir + "/one.png"));

    // A picture that cannot be written fails the run, which still plays out.
    r.args = {"--frames", "4", "--screenshot", "2:" + dir + "/no/such/folder/two.png"};
    run = runGame(r);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.trace.size(), 4u);
    EXPECT_NE(run.err.find("gfx: picture of frame 2 not written to " + dir + "/no/such/folder/two.png"),
              std::string::npos)
        << run.err;
    fs::remove_all(dir);
}

TEST(DisplayEndToEnd, AMissingScreenImageEndsTheRunWithItsMessageAndAFailureCode) {
    // A copy of the pack without one story picture.
    const std::string dir = makeTempDir("pack");
    fs::copy(std::string(TERVO_BUILD_DIR) + "/bin/t", dir + "/t", fs::copy_options::recursive);
    fs::copy(std::string(TERVO_BUILD_DIR) + "/bin/x", dir + "/x", fs::copy_options::recursive);
    fs::remove(dir + "/t/story2.png");
    GameRunRequest r;
    r.args = {"--frames", "30", "--assets", dir};
    auto run = runGame(r);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("メッセージ: story2画像ロスト"), std::string::npos) << run.err;
    EXPECT_TRUE(run.trace.empty());  // the destroyed window ends the loop at its first pass
    fs::remove_all(dir);
}
