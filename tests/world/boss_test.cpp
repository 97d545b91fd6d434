// The two bosses: hit points by difficulty, Boss's hanging, first-game pause
// and sweeps, Boss2's path against a single-precision reference worked out
// here, and a beaten boss leaving the field at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/world.h"

using namespace platform;

TEST(Boss, EasyTakesTwentyHitsNormalAndHardFiftyTheSecondBossAlwaysTwenty) {
    World world;
    for (int d : {0, 1, 2}) {
        world.reset(d);
        EXPECT_EQ(world.boss.hitPoints, d == 0 ? 20 : 50);
        EXPECT_EQ(world.bossBeams.bossHitPoints, d == 0 ? 20 : 50);
        EXPECT_EQ(world.boss2.hitPoints, 20);
    }
}

TEST(Boss, HangsThroughItsEntrancePausesOnlyInTheRunsFirstGameAndSweepsFasterBelowTwelve) {
    fpu::setSinglePrecision(true);
    Boss boss;
    const Placement& p = boss.placements[0];
    auto game = [&](int hp, int timer) {
        boss.reset(1);
        boss.placements[0].active = 1;
        boss.hitPoints = hp;
        boss.entranceTimer = timer;
    };
    game(50, 3);
    const std::int32_t delayBefore = bossSweepDelay();  // 0 in a fresh process
    int frames = 0;
    while (p.x == 0.0 && frames < 300) boss.update(0, 0, Placement{}), ++frames;
    EXPECT_EQ(boss.entranceTimer, 0);
    EXPECT_EQ(frames, 3 + std::max(1, 100 - delayBefore));
    EXPECT_NEAR(p.y.value(), std::sin(p.x.value()) + 5.0, 1e-6);

    game(50, 0);  // the next game: the counter is past 100
    boss.update(0, 0, Placement{});
    EXPECT_NE(p.x, 0.0) << "no pause";
    double lowest = 0, highest = 0;
    for (int i = 0; i < 400; ++i) {
        boss.update(0, 0, Placement{});
        lowest = std::min(lowest, p.x.value()), highest = std::max(highest, p.x.value());
        EXPECT_NEAR(p.y.value(), std::sin(p.x.value()) + 5.0, 1e-6);
    }
    EXPECT_TRUE(highest >= 7.5 && highest < 7.61 && lowest <= -7.5 && lowest > -7.61) << lowest << " " << highest;

    boss.hitPoints = 11;
    boss.placements[0].y = 4.25;
    const std::int32_t delay = bossSweepDelay();
    for (int i = 0; i < 100; ++i) {
        const double before = p.x.value();
        boss.update(0, 0, Placement{});
        EXPECT_NEAR(std::fabs(p.x.value() - before), 0.2, 1e-5) << "straight across at 0.2";
        EXPECT_LT(std::fabs(p.x.value()), 7.71);
    }
    EXPECT_EQ(p.y, 4.25);
    EXPECT_EQ(bossSweepDelay(), delay);
}

namespace {

// Boss2 worked out in single precision: each sum and quotient is taken in
// quad precision, then rounded to a float. Values stay doubles (the speeds
// start as the doubles 0.5 and 0.2, the clamps give doubles); the tangents
// are the library's on doubles.
struct Boss2Reference {
    using Quad = __float128;
    double x = 0.0, y = 7.0, vx, vy;
    int bounces = 0;

    static double f(Quad v) { return static_cast<float>(v); }
    static double turn(double along, double across, bool high, bool low, double fallback) {
        const double inner = f(Quad(std::tan(f(Quad(across) / along))) + 1.570796);
        double v = f(Quad(1.0) / f(Quad(std::tan(inner)) / across));
        if ((high && v > 0) || (low && v < 0)) v = -v;
        if (v > 0 && (v < 0.1 || v > 0.9)) v = fallback;
        if (v < 0 && (v > -0.1 || v < -0.9)) v = -fallback;
        return v;
    }
    void step() {
        x = f(Quad(x) + vx);
        y = f(Quad(y) + vy);
        if (x >= 8 || x <= -8) vx = turn(vx, vy, x >= 8, x <= -8, 0.5), ++bounces;
        if (y >= 10 || y <= 2) vy = turn(vy, vx, y >= 10, y <= 2, 0.3), ++bounces;
    }
};

}  // namespace

TEST(Boss, TheSecondBossBouncesAsTheFormulaGivesAndKeepsItsSpeedsForTheNextGame) {
    fpu::setSinglePrecision(true);
    Boss2 boss2;
    boss2.placements[0].active = 1;
    // From the speeds the run has left (0.5 and 0.2 in a fresh process).
    Boss2Reference ref{0.0, 7.0, boss2Vx().value(), boss2Vy().value()};
    for (int frame = 1; frame <= 400; ++frame) {
        boss2.update(0, 0, Placement{});
        ref.step();
        ASSERT_EQ(boss2.placements[0].x.value(), ref.x) << "frame " << frame;
        ASSERT_EQ(boss2.placements[0].y.value(), ref.y) << "frame " << frame;
        ASSERT_EQ(boss2Vx().value(), ref.vx) << "frame " << frame;
        ASSERT_EQ(boss2Vy().value(), ref.vy) << "frame " << frame;
        ASSERT_TRUE(std::fabs(ref.x) < 9 && ref.y > 1 && ref.y < 11) << "frame " << frame;
    }
    EXPECT_GE(ref.bounces, 10);
    const Real vx = boss2Vx(), vy = boss2Vy();
    boss2.reset(0);
    EXPECT_EQ(boss2.placements[0].y, 7.0);
    EXPECT_TRUE(boss2Vx() == vx && boss2Vy() == vy);
}

TEST(Boss, ABossAtZeroHitPointsIsNeitherDrawnNorHitAgain) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\boss2.x"});
    World world;
    world.attachAll(f.device(), f.window(), nullptr);
    ASSERT_TRUE(world.boss2.load());
    world.reset(1);
    Placement& slot = world.boss2.placements[0];
    slot.active = 1;
    world.boss2.hitPoints = 1;
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    world.frame();
    EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 2) << "both subsets of the boss";

    Placement shots[3];
    shots[0] = slot;
    for (int hit = 0; hit < 2; ++hit) {
        shots[0].active = 1;
        world.checkShots(shots, 1);
        EXPECT_EQ(shots[0].active, hit == 0 ? 0 : 1) << "the second shot passes through";
    }
    EXPECT_EQ(world.boss2.hitPoints, 0);
    EXPECT_EQ(slot.active, 0);
    gfx::setCurrentFrame(2);
    world.frame();
    EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 0);
    f.device()->EndScene();
}
