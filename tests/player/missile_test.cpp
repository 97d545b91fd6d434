// The missile's launch, creep, recording, lead and stock, its target search
// and a heading of length 0; the sight's image, tilt and depth.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/gfx_config.h"
#include "player/missile.h"
#include "player/sight.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

namespace {

Placement at(Real x, Real y, Real z) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    return p;
}

const Placement ship = at(1, 3, -7);

// Holds the launch key until the missile leaves; the number of updates.
int launch(Missile& m) {
    int frames = 0;
    while (m.isActive(0) == 0 && frames++ < 100) m.update(10, 0, ship);
    return frames;
}

// One update with the key held; how far the missile moved.
double fly(Missile& m) {
    const Placement a = m.placements[0];
    m.update(10, 0, ship);
    const Placement& b = m.placements[0];
    return std::hypot((b.x - a.x).value(), (b.y - a.y).value(), (b.z - a.z).value());
}

}  // namespace

TEST(Missile, LaunchesOnThe21stFrameCreepsThenRecordsAndLeadsTheTarget) {
    fpu::setSinglePrecision(true);
    Missile m;
    EXPECT_EQ(launch(m), 21);
    EXPECT_EQ(m.stock, 4);
    EXPECT_EQ(m.placements[0].z, -7.0);  // no flight step in the launch frame
    // A target moving by (0.5, 0, -1) a frame, offered before each update.
    Placement enemy = at(-2, 6, 60);
    auto frame = [&] {
        m.clearSearch();
        m.offerTarget(enemy, ship.z);
        enemy.x += 0.5, enemy.z -= 1.0;
        return fly(m);
    };
    for (int f = 1; f <= 39; ++f) ASSERT_NEAR(frame(), 0.2, 1e-6) << f;
    EXPECT_EQ(m.placements[0].x, 1.0);  // straight ahead of the launch point
    const Real recordedX = enemy.x, recordedZ = enemy.z;
    EXPECT_EQ(frame(), 0.0);  // 40th: records the target's place
    EXPECT_EQ(missileHoming().aimSnapshot[2], recordedZ);
    EXPECT_EQ(frame(), 0.0);  // 41st: leads it by 40 frames of its motion
    EXPECT_EQ(missileHoming().guidePoint[0], recordedX + 20.0);
    EXPECT_EQ(missileHoming().guidePoint[2], recordedZ - 40.0);
    EXPECT_NEAR(frame(), 1.5, 1e-5);
    EXPECT_EQ(m.stock, 4);  // one missile flies at a time
    fpu::setSinglePrecision(false);
}

TEST(Missile, WithoutTargetsFiveMissilesFlyAtTheDefaultPointAndEmptyTheStock) {
    Missile m;
    for (int n = 1; n <= 5; ++n) {
        ASSERT_LE(launch(m), 21) << n;
        for (int f = 0; f < 41; ++f) fly(m);  // creep, record, lead
        const Placement p = m.placements[0];
        const double moved = fly(m), toGo = std::hypot(50 - p.x.value(), 50 - p.y.value(), 200 - p.z.value());
        EXPECT_NEAR((m.placements[0].y - p.y).value() / moved, (50 - p.y.value()) / toGo, 1e-9);
        for (int f = 0; m.inFlight == 1 && f < 1000; ++f) fly(m);
        EXPECT_EQ(m.isActive(0), 0);
        EXPECT_GT(m.placements[0].z, 100.0);
    }
    for (int f = 0; f < 50; ++f) fly(m);
    EXPECT_EQ(m.isActive(0), 0);
    EXPECT_EQ(m.stock, 0);
}

TEST(Missile, TheSearchTakesTheSmallestSignedGapAndKeepsTheFirstOfEqualOnes) {
    Missile m;
    for (Real x : {0, 1, 2}) m.offerTarget(at(x, 0, x == 0 ? 40 : 20), -7.0);
    EXPECT_EQ(m.target.x, 1.0);
    m.offerTarget(at(3, 0, -9), -7.0);  // already behind the ship
    m.offerTarget(at(4, 0, -7), -7.0);
    EXPECT_EQ(m.target.x, 3.0);
    m.clearSearch();
    m.offerTarget(at(5, 0, 493), -7.0);  // a gap of 500 is not below 500
    EXPECT_EQ(m.target.x, 3.0);
}

TEST(Missile, OnItsHeadingPointItHoldsStillForAFrame) {
    Missile m;
    launch(m);
    m.placements[0].z = 23.0;  // exactly on the guide point (1, 3, 23)
    EXPECT_EQ(fly(m), 0.0);
    EXPECT_EQ(missileHoming().homingStep, 2.0);
    for (int f = 0; f < 41; ++f) fly(m);
    EXPECT_GT(m.placements[0].z, 23.0);  // the lead moves it on
}

TEST(Sight, DrawsTheLockImageTiltedTenDegreesFiveUnitsNearer) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\sight1.png", "t\\sight2.png"});
    Sight s;
    s.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(s.load());
    s.placements[0] = at(1.5, 4, 30);
    D3DXMATRIX rotation, translation, expected;
    D3DXMatrixRotationX(&rotation, 0.17453294f);
    D3DXMatrixTranslation(&translation, 1.5f, 4.0f, 25.0f);
    D3DXMatrixMultiply(&expected, &rotation, &translation);
    f.device()->BeginScene();
    for (std::uint8_t locked : {1, 0}) {
        s.locked = locked;
        gfx::setCurrentFrame(3 + locked);
        s.drawSlot(0);
        const auto& calls = gfx::frameCalls();
        for (int i = 0; i < 16; ++i) EXPECT_EQ(calls[0].args[1 + i], expected.m[i / 4][i % 4]) << i;
        EXPECT_EQ(calls[1].args[1], double(s.images[locked]->handle()));
    }
    f.device()->EndScene();
}
