// The ship: steering inside its band with single-precision sums, the roll's
// full turn, the shots' pacing, the exhaust's flicker and the additive glow.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gfx/gfx_config.h"
#include "player/player_ship.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/world.h"

using namespace platform;

namespace {

struct Steering : ::testing::Test {
    Steering() { fpu::setSinglePrecision(true); }
    void hold(int code, int frames) {
        for (int i = 0; i < frames; ++i) ship.steer(code, 0, *world);
    }
    double x() const { return ship.placements[0].x.value(); }
    double y() const { return ship.placements[0].y.value(); }

    std::unique_ptr<World> world = std::make_unique<World>();
    PlayerShip ship;
};

}  // namespace

TEST_F(Steering, TheEdgesAreTestedOnThePositionBeforeEachStep) {
    hold(2, 3);
    EXPECT_EQ(y(), 2.0);  // it starts on the lower edge
    hold(1, 80);
    EXPECT_EQ(y(), double(10.0000019f));
    hold(1, 1);
    EXPECT_EQ(y(), double(10.0000019f));
    hold(2, 81);
    EXPECT_EQ(y(), double(1.9000005f));
    hold(2, 1);
    EXPECT_EQ(y(), double(1.9000005f));
    hold(3, 41);
    EXPECT_EQ(x(), double(8.1999969f));
    hold(6, 1);  // up and right: the x edge stops both axes
    EXPECT_EQ(x(), double(8.1999969f));
    EXPECT_EQ(y(), double(1.9000005f));
    hold(1, 1);
    EXPECT_GT(y(), 2.0);
    EXPECT_EQ(ship.placements[0].z, -7.0);
    // The stage clock counted every frame, and the relay has the ship.
    EXPECT_EQ(world->clock.tick, 3 + 80 + 1 + 81 + 1 + 41 + 1 + 1);
    EXPECT_EQ(world->relay.player().y, ship.placements[0].y);
    world->boss2.placements[0].active = 1;
    hold(0, 5);
    EXPECT_EQ(world->clock.tick, 209);
}

TEST_F(Steering, AHeldDirectionTurnsTheShipOnceIn79FramesAndReleasedItEasesBack) {
    hold(3, 78);
    EXPECT_EQ((ship.roll - 0.08).value(), double(-6.3199964f));
    hold(3, 1);
    EXPECT_EQ(ship.roll, 0.0);
    hold(7, 10);
    EXPECT_GT(ship.roll, 0.7);
    hold(0, 10);
    const Real rest = ship.roll;
    EXPECT_LE(rest, 0.08);
    EXPECT_GE(rest, -0.08);
    hold(0, 3);
    EXPECT_EQ(ship.roll, rest);
}

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

    // The blend mode in effect at the mesh's and at the glow's draw.
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
    std::vector<double> scales;
    ship.setStatus(0, 3);
    EXPECT_EQ(blends(), (std::vector<double>{-1, double(D3DBLEND_ONE)}));
    scales.push_back(flameScale().value());
    const float before = flameScale().toFloat();
    ship.setStatus(150, 3);
    EXPECT_EQ(blends(), (std::vector<double>{double(D3DBLEND_ONE), double(D3DBLEND_ONE)}));
    // The glow is the ship's matrix moved 3 back and scaled in its plane.
    D3DXMATRIX turned;
    D3DXMatrixRotationZ(&turned, 0.5f);
    EXPECT_EQ(ship.exhaustMatrix._11, before);
    EXPECT_EQ(ship.exhaustMatrix._22, before);
    EXPECT_EQ(ship.exhaustMatrix._33, 1.0f);
    EXPECT_EQ(ship.exhaustMatrix._12, turned._12);
    EXPECT_EQ(ship.exhaustMatrix._43, -10.0f);
    scales.push_back(flameScale().value());
    for (int i = 0; i < 4; ++i) {
        ship.drawSlot(0);
        scales.push_back(flameScale().value());
    }
    ship.setStatus(0, 1);
    for (int i = 0; i < 6; ++i) {
        ship.drawSlot(0);
        scales.push_back(flameScale().value());
    }
    f.device()->EndScene();
    EXPECT_EQ(scales, (std::vector<double>{1.1, 1.1, 1.1, 1.0, 1.0, 1.0, 0.6, 0.6, 0.6, 0.5, 0.5, 0.5}));
}
