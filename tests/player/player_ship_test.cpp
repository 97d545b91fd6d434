// The shots' pacing, and the ship's exhaust flicker and additive glow.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/gfx_config.h"
#include "player/player_ship.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

TEST(PlayerShots, AHeldKeyFiresEvery20FramesWhileASlotIsFree) {
    fpu::setSinglePrecision(true);
    PlayerShots shots;
    Placement ship;
    ship.x = 1.0, ship.y = 3.0, ship.z = -7.0;
    std::vector<int> leaves;
    for (int frame = 1; frame <= 120; ++frame) {
        shots.update(5, 0, ship);
        for (const Placement& p : shots.placements)
            if (p.active && p.z == -7.0) leaves.push_back(frame);
    }
    // Slot 0 is back after its 72 frames. The frame a shot leaves, the later
    // slots do not move, so slot 1 stays one frame longer, and slot 2 two.
    EXPECT_EQ(leaves, (std::vector<int>{1, 21, 41, 73, 94, 115}));
    EXPECT_EQ(shots.placements[0].x, 1.0);
}

TEST(PlayerShip, TheExhaustFlickersAndTheShipGlowsWhileInvulnerable) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\mychar.x", "t\\bakuha.png"});
    PlayerShip ship;
    ship.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(ship.load());
    ship.roll = 0.5;
    f.device()->BeginScene();
    while (flameCounter() != 0) ship.drawSlot(0);  // the flicker runs for the whole process

    // One draw: the blend mode in effect at the mesh and at the glow.
    auto blends = [&] {
        gfx::setCurrentFrame(gfx::currentFrame() + 1);
        ship.drawSlot(0);
        double blend = -1, atMesh = -1, atGlow = -1;
        for (const auto& c : gfx::frameCalls()) {
            if (c.op == "SetRenderState" && c.args[0] == double(D3DRS_DESTBLEND)) blend = c.args[1];
            if (c.op == "DrawSubset" && atMesh < 0) atMesh = blend;
            if (c.op == "DrawPrimitive") atGlow = blend;
        }
        EXPECT_EQ(blend, double(D3DBLEND_INVSRCALPHA));
        return std::vector<double>{atMesh, atGlow};
    };
    const double one = D3DBLEND_ONE;
    std::vector<double> scales;
    ship.setStatus(0, 3);
    EXPECT_EQ(blends(), (std::vector<double>{-1, one}));
    scales.push_back(flameScale().value());
    ship.setStatus(150, 3);
    EXPECT_EQ(blends(), (std::vector<double>{one, one}));
    // The glow: the ship's turned matrix, 3 back, scaled in its own plane.
    D3DXMATRIX turned;
    D3DXMatrixRotationZ(&turned, 0.5f);
    EXPECT_EQ(ship.exhaustMatrix._11, 1.1f);
    EXPECT_EQ(ship.exhaustMatrix._33, 1.0f);
    EXPECT_EQ(ship.exhaustMatrix._12, turned._12);
    EXPECT_EQ(ship.exhaustMatrix._43, -10.0f);
    scales.push_back(flameScale().value());
    for (int i = 0; i < 10; ++i) {
        if (i == 4) ship.setStatus(0, 1);
        ship.drawSlot(0);
        scales.push_back(flameScale().value());
    }
    f.device()->EndScene();
    EXPECT_EQ(scales, (std::vector<double>{1.1, 1.1, 1.1, 1.0, 1.0, 1.0, 0.6, 0.6, 0.6, 0.5, 0.5, 0.5}));
}
