// The radar: where a blip sits, which band image it takes (carried from one
// active slot to the next), the record of a HUD pass and the two load steps.
#include <gtest/gtest.h>

#include "platform/gfx/gfx_config.h"
#include "player/radar.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

namespace {

Placement slot(Real x, Real y, Real z, std::uint8_t active = 1) {
    Placement p;
    p.x = x, p.y = y, p.z = z, p.active = active;
    return p;
}

}  // namespace

TEST(Radar, EachProductLosesItsFractionBeforeTheSum) {
    fpu::setSinglePrecision(true);
    Radar r;
    const std::pair<int, int> expected[4] = {{642, 483}, {658, 483}, {651, 483}, {650, 497}};
    const Real cases[4][4] = {{-3, 4, 0, 2}, {3, 4, 0, 2}, {3, 4, 2.5, 2}, {-0.3, 2.1, 0.3, 2.9}};
    for (int k = 0; k < 4; ++k) {
        r.placeBlip(cases[k][0], cases[k][1], cases[k][2], cases[k][3]);
        EXPECT_EQ(std::pair(r.blipX, r.blipY), expected[k]) << k;
    }
    fpu::setSinglePrecision(false);
}

TEST(Radar, BandsByDepthWithTheImageCarriedPastInactiveAndFarSlots) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\enemy.png", "t\\enemy2.png", "t\\enemy3.png", "t\\radar.png"});
    ID3DXSprite* sprite = nullptr;
    D3DXCreateSprite(f.device(), &sprite);
    Radar r;
    r.graphics.attach(f.device(), f.window(), sprite);
    ASSERT_TRUE(r.load());
    f.device()->BeginScene();
    sprite->Begin(0);
    gfx::setCurrentFrame(7);
    r.drawPanel(0, 0.8f, 0.8f);
    const Placement bands[4] = {slot(0, 2, 19.9), slot(0, 2, 20), slot(0, 2, 60), slot(0, 2, 200)};
    const Placement group[3] = {slot(1, 3, 10), slot(5, 5, 100, 0), slot(-2, 6, 200)};
    r.blipsFor(4, bands, 0.0, 2.0);
    r.blipsFor(3, group, 0.0, 2.0);
    const Radar::Blip expected[6] = {{3, 650, 493}, {2, 650, 493}, {1, 650, 493},
                                     {1, 650, 493}, {3, 652, 488}, {3, 645, 473}};
    ASSERT_EQ(r.blipsDrawnIn(7), 6);
    EXPECT_EQ(r.blipsDrawnIn(8), 0);  // a frame without a HUD pass shows none
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(r.drawn[i].image, expected[i].image) << i;
        EXPECT_EQ(std::pair(r.drawn[i].x, r.drawn[i].y), std::pair(expected[i].x, expected[i].y)) << i;
    }
    // The panel at (600, 440) at 80 %, the last blip unscaled at its corner.
    const auto& calls = gfx::frameCalls();
    ASSERT_EQ(calls.size(), 14u);
    EXPECT_EQ(calls[0].args[0], 0.8f);
    EXPECT_EQ(std::pair(calls[0].args[12], calls[0].args[13]), std::pair(600.0, 440.0));
    EXPECT_EQ(std::pair(calls[12].args[12], calls[12].args[13]), std::pair(645.0, 473.0));
    EXPECT_EQ(calls[13].args[0], double(r.images[3]->handle()));
    sprite->End();
    f.device()->EndScene();
    sprite->Release();
}

TEST(Radar, AMissingBlipImageEndsItsStepButThePanelStillLoads) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\enemy.png", "t\\enemy3.png", "t\\radar.png"});
    Radar r;
    r.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(r.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "レーダーエネミー2画像ロスト");
    EXPECT_EQ(r.images[3], nullptr);
    EXPECT_NE(r.images[0], nullptr);
}
