// The gauge: hit points and the stage clock's counter, the six images in
// their frame slots, and the sprite transform of a drawn frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "platform/gfx/png_image.h"
#include "player/gauge.h"
#include "support/device_fixture.h"

using namespace platform;

namespace {

// The gauge images in their load order.
const char* const hpFiles[6] = {"t\\hp1.png", "t\\hp2.png", "t\\hp3.png", "t\\hp4.png", "t\\hp1-2.png", "t\\hp2-2.png"};

// Writes image k of hpFiles k + 1 pixels wide, so a texture tells its file.
void writeGaugeImages(const std::string& dir, int skip = -1) {
    for (int k = 0; k < 6; ++k) {
        if (k == skip) continue;
        const std::filesystem::path path = std::filesystem::path(dir) / nativePath(hpFiles[k]);
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(gfx::writePng(path.c_str(), k + 1, 2, std::vector<std::uint8_t>((k + 1) * 2 * 4, 0x80)));
    }
}

}  // namespace

TEST(Gauge, LoseReportsWhetherAnyHitPointsAreLeft) {
    Gauge g;
    EXPECT_EQ(g.value, 3);
    EXPECT_TRUE(g.lose(1));
    EXPECT_EQ(g.value, 2);
    EXPECT_TRUE(g.lose(1));
    EXPECT_FALSE(g.lose(1));
    EXPECT_EQ(g.value, 0);
    g.reset();
    EXPECT_TRUE(g.lose(2));
    EXPECT_EQ(g.value, 1);
    EXPECT_FALSE(g.lose(1));
}

TEST(Gauge, TheClockCountsAdvancesAndResetStartsOver) {
    Gauge clock;
    EXPECT_TRUE(clock.tickIs(0));
    for (int i = 0; i < 4500; ++i) clock.advance();
    EXPECT_TRUE(clock.tickIs(4500));
    EXPECT_FALSE(clock.tickIs(4499));
    EXPECT_FALSE(clock.tickIs(4501));
    clock.lose(3);
    clock.reset();
    EXPECT_EQ(clock.tick, 0);
    EXPECT_EQ(clock.value, 3);
    EXPECT_TRUE(clock.tickIs(0));
    EXPECT_TRUE(clock.placements.empty());  // no slots to walk
}

TEST(Gauge, LoadPutsEachImageInItsFrame) {
    DeviceFixture f;
    writeGaugeImages(f.dir());
    Gauge g;
    g.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_TRUE(g.load());
    EXPECT_TRUE(takeShownBoxes().empty());
    // Frame index by hit points: 0 empty (hp4), 3 full (hp1), 4 and 5 the
    // first halves of the blinks (hp2-2, hp1-2).
    const int widthOfFrame[6] = {4, 3, 2, 1, 6, 5};
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(g.frames[i], nullptr) << i;
        EXPECT_EQ(g.frames[i]->width(), widthOfFrame[i]) << i;
    }
}

TEST(Gauge, TheFirstMissingImageEndsTheLoad) {
    DeviceFixture f;
    writeGaugeImages(f.dir(), 2);  // hp3.png
    Gauge g;
    g.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(g.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "ＨＰ3画像ロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_NE(g.frames[3], nullptr);
    EXPECT_NE(g.frames[2], nullptr);
    for (int i : {0, 1, 4, 5}) EXPECT_EQ(g.frames[i], nullptr) << i;
}

TEST(Gauge, DrawFrameDrawsAtSixtyFourFortyAtFourFifths) {
    DeviceFixture f;
    writeGaugeImages(f.dir());
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(f.device(), &sprite), S_OK);
    {
        Gauge g;
        g.graphics.attach(f.device(), f.window(), sprite);
        ASSERT_TRUE(g.load());
        f.device()->BeginScene();
        sprite->Begin(0);
        gfx::setCurrentFrame(1);
        g.drawFrame(5);
        sprite->End();
        f.device()->EndScene();
        const auto& calls = gfx::frameCalls();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[0].op, "Sprite.SetTransform");
        const std::vector<double>& m = calls[0].args;
        EXPECT_EQ(m[0], 0.8f);   // _11
        EXPECT_EQ(m[5], 0.8f);   // _22
        EXPECT_EQ(m[10], 1.0);   // _33
        EXPECT_EQ(m[1], 0.0);
        EXPECT_EQ(m[4], 0.0);
        EXPECT_EQ(m[12], 60.0);  // _41
        EXPECT_EQ(m[13], 440.0);
        EXPECT_EQ(calls[1].op, "Sprite.Draw");
        EXPECT_EQ(calls[1].args,
                  (std::vector<double>{double(g.frames[5]->handle()), -1, -1, -1, -1, double(0xFFFFFFFFu)}));
    }
    sprite->Release();
}
