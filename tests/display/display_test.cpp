// The Display device on the recording backend: start-up order and states,
// the screen images' loading and its failure report, the frame bracket and
// the reset after a failed present, and the CLEAR letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "audio/music_player.h"
#include "display/display.h"
#include "player/player_side.h"
#include "world/world.h"
#include "platform/gfx/gfx_config.h"
#include "platform/real.h"
#include "support/mini_pack.h"
#include "support/device_fixture.h"
#include "world/graphics_part.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { fpu::setSinglePrecision(false); }
    void TearDown() override { display_.reset(); }
    Display& start(const std::vector<std::string>& files) {
        writeMiniPack(fixture_.dir(), files);
        display_ = std::make_unique<Display>();
        display_->init(fixture_.window());
        return *display_;
    }
    static std::vector<std::string> without(std::vector<std::string> files, const std::string& name) {
        files.erase(std::find(files.begin(), files.end(), name));
        return files;
    }
    static std::vector<std::string> ops() { return DeviceFixture::ops(); }
    static long countOp(const std::string& op) { return DeviceFixture::countOp(op); }

    DeviceFixture fixture_{false};  // the Display makes its own device
    std::unique_ptr<Display> display_;
};

}  // namespace

TEST_F(DisplayTest, StartUpCreatesTheDeviceLoadsEverythingAndSetsTheScene) {
    Display& d = start(displayFiles());
    ASSERT_NE(d.device(), nullptr);
    EXPECT_NE(d.sprite(), nullptr);
    EXPECT_TRUE(takeShownBoxes().empty());
    for (int i = 0; i < ScreenImages::imageCount; ++i)
        EXPECT_EQ(d.screenImages.images[i] != nullptr, i != 2) << "image " << i;
    for (const auto& letter : d.screenImages.letters) EXPECT_NE(letter.mesh, nullptr);
    // Creating the device switched the game's arithmetic to single precision.
    EXPECT_EQ((Real(2.0) + Real(0.1)).value(), static_cast<double>(2.1f));

    DWORD value = 0;
    d.device()->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, 3u);
    d.device()->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(value, 1u);
    EXPECT_FLOAT_EQ(d.aspect, 800.0f / 600.0f);
    // The first view: eye (0, 7, -30) looking at the origin; the origin sits
    // 30.8 units in front of the eye.
    D3DXMATRIX view;
    d.device()->GetTransform(D3DTS_VIEW, &view);
    EXPECT_NEAR(view._43, std::sqrt(7.0f * 7.0f + 30.0f * 30.0f), 1e-4);
    // The camera starts at its reset values.
    EXPECT_EQ(d.camera.eyeZ, -30.0);
    EXPECT_EQ(d.camera.swaySpeed, 20.0);
}

TEST_F(DisplayTest, AMissingStoryPictureStopsLoadingWithItsMessage) {
    Display& d = start(without(displayFiles(), "t\\story2.png"));
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "story2画像ロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    for (int i : {0, 1, 3, 4, 5}) EXPECT_NE(d.screenImages.images[i], nullptr) << i;
    for (int i = 6; i < ScreenImages::imageCount; ++i) EXPECT_EQ(d.screenImages.images[i], nullptr) << i;
    EXPECT_EQ(d.screenImages.letters[0].mesh, nullptr);
    // The window was destroyed, which posts the quit message.
    EXPECT_TRUE(anyLoadFailed);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg));
    EXPECT_EQ(msg.message, WM_QUIT);
    WINDOWPLACEMENT wp;
    EXPECT_FALSE(GetWindowPlacement(fixture_.window(), &wp));
}

TEST_F(DisplayTest, TheNeverDrawnExclamationMarkIsStillRequired) {
    Display& d = start(without(displayFiles(), "x\\!.x"));
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "!ロスと");
    EXPECT_NE(d.screenImages.letters[4].mesh, nullptr);
}

TEST_F(DisplayTest, NoDeviceMeansTheFallbackBoxesAndNothingElse) {
    gfx::setCreationFailures({true, true, true});
    Display& d = start(displayFiles());
    gfx::setCreationFailures({});
    EXPECT_EQ(d.device(), nullptr);
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "2");
    EXPECT_EQ(boxes[1].text, "3");
    EXPECT_EQ(boxes[1].caption, "");
}

TEST_F(DisplayTest, SoftwareVertexProcessingIsTakenWithoutAWord) {
    gfx::setCreationFailures({true, false, false});
    Display& d = start(displayFiles());
    gfx::setCreationFailures({});
    EXPECT_NE(d.device(), nullptr);
    EXPECT_TRUE(takeShownBoxes().empty());
}

TEST_F(DisplayTest, EachFrameClearsToSkyBlueAndResetsAfterAFailedPresent) {
    Display& d = start(displayFiles());
    // The screen flow draws the title between the scene's brackets.
    auto world = std::make_unique<World>();
    auto side = std::make_unique<PlayerSide>();
    auto music = std::make_unique<MusicPlayer>();
    gfx::setCurrentFrame(1);
    d.renderFrame(*world, *side, *music, 0, 0);
    auto calls = gfx::frameCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls.front().op, "Clear");
    EXPECT_EQ(calls.front().args, (std::vector<double>{3.0, static_cast<double>(0xff88d9ffu), 1.0}));
    const auto frameOps = ops();
    ASSERT_GE(frameOps.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(frameOps.begin(), frameOps.begin() + 2),
              (std::vector<std::string>{"Clear", "BeginScene"}));
    EXPECT_EQ(std::vector<std::string>(frameOps.end() - 2, frameOps.end()),
              (std::vector<std::string>{"EndScene", "Present"}));
    EXPECT_EQ(std::count(frameOps.begin(), frameOps.end(), "BeginScene"), 1);

    gfx::failPresents(2);
    for (std::uint64_t f = 2; f <= 3; ++f) {
        gfx::setCurrentFrame(f);
        d.renderFrame(*world, *side, *music, 0, 0);
        EXPECT_EQ(ops().back(), "Reset") << "frame " << f;
    }
    gfx::setCurrentFrame(4);
    d.renderFrame(*world, *side, *music, 0, 0);
    EXPECT_EQ(ops().back(), "Present");
}

TEST_F(DisplayTest, ClearLettersFallInTurnSpinTogetherAndSetMaterialsBeforeEachSubset) {
    Display& d = start(displayFiles());
    ScreenImages::letterSpin = 0;
    gfx::setCurrentFrame(10);
    d.screenImages.drawClearLetters(449, d.placements);  // only C is drawn yet
    EXPECT_FLOAT_EQ(ScreenImages::letterSpin, 2.0f);
    EXPECT_NEAR(d.placements[0].y.value(), 9.9, 1e-6);
    EXPECT_EQ(d.placements[1].y, 10.0);
    std::vector<std::string> expected = {"SetTransform", "SetMaterial", "DrawSubset", "SetMaterial", "DrawSubset"};
    EXPECT_EQ(ops(), expected);

    gfx::setCurrentFrame(11);
    d.screenImages.drawClearLetters(429, d.placements);  // C and L: the shared spin turns twice
    EXPECT_FLOAT_EQ(ScreenImages::letterSpin, 6.0f);
    EXPECT_EQ(countOp("DrawSubset"), 4);

    // Five letters at most: the "!" is never drawn.
    gfx::setCurrentFrame(12);
    d.screenImages.drawClearLetters(300, d.placements);
    EXPECT_EQ(countOp("SetTransform"), 5);
}

TEST_F(DisplayTest, LandedLettersRestWhenTheSpinReachesThirty) {
    Display& d = start(displayFiles());
    for (auto& p : d.placements) p.y = 4.0;  // landed
    ScreenImages::letterSpin = 28.0f;
    d.screenImages.drawClearLetters(200, d.placements);  // five letters: 28 -> 30, then rest
    EXPECT_FLOAT_EQ(ScreenImages::letterSpin, 30.0f);
    d.screenImages.drawClearLetters(150, d.placements);
    EXPECT_FLOAT_EQ(ScreenImages::letterSpin, 30.0f);
    // The last 100 frames: each letter rises and turns; once the shared
    // angle has left 30 the later letters turn it twice (30 + 2 + 4 x 4).
    d.screenImages.drawClearLetters(99, d.placements);
    EXPECT_FLOAT_EQ(ScreenImages::letterSpin, 48.0f);
    EXPECT_GT(d.placements[0].y, 4.0);
}
