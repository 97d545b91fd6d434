// The two bosses: hit points by difficulty, Boss's hanging, its first-game
// pause and its sweeps, Boss2's bouncing path against a single-precision
// reference worked out here, the movement kept from game to game, and a
// beaten boss leaving the field at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/world.h"

using namespace platform;

namespace {

class BossTest : public ::testing::Test {
protected:
    void SetUp() override { fpu::setSinglePrecision(true); }

    // Boss in play as its entrance leaves it, with `hp` hit points.
    void hang(int hp, int timer = 0) {
        boss_.reset(1);
        boss_.placements[0].active = 1;
        boss_.hitPoints = hp;
        boss_.entranceTimer = timer;
    }
    void step() { boss_.update(0, 0, Placement{}); }

    Boss boss_;
    Boss2 boss2_;
};

// Boss2 worked out in single precision: every sum and quotient is taken in
// quad precision, where none of them rounds in a way that could matter, and
// then rounded to a float. The values are kept as doubles (the speeds start
// as the doubles 0.5 and 0.2, and the clamps give doubles too); the tangents
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

TEST(BossHitPoints, EasyTakesTwentyHitsNormalAndHardFiftyTheSecondBossAlwaysTwenty) {
    World world;
    for (int d : {0, 1, 2}) {
        world.reset(d);
        const int expected = d == 0 ? 20 : 50;
        EXPECT_EQ(world.boss.hitPoints, expected) << "difficulty " << d;
        EXPECT_EQ(world.bossBeams.bossHitPoints, expected) << "difficulty " << d;
        EXPECT_EQ(world.bossBeams.difficultyFlag, d == 0 ? 0 : 1);
        EXPECT_EQ(world.boss2.hitPoints, 20) << "difficulty " << d;
    }
}

TEST_F(BossTest, HangsWhileItsEntranceTimerRunsAndPausesOnlyInTheRunsFirstGame) {
    hang(50, 3);
    const std::int32_t delayBefore = bossSweepDelay();
    for (int i = 0; i < 3; ++i) step();
    EXPECT_EQ(boss_.entranceTimer, 0);
    EXPECT_EQ(boss_.placements[0].x, 0.0) << "no move on the frame the timer reaches 0";
    EXPECT_EQ(bossSweepDelay(), delayBefore);

    // The first sweep waits until 100 in-band frames have been counted over
    // the whole run (in a fresh process: the 100th frame).
    int frames = 0;
    while (boss_.placements[0].x == 0.0 && frames < 200) step(), ++frames;
    EXPECT_EQ(frames, std::max(1, 100 - delayBefore));
    EXPECT_NEAR(std::fabs(boss_.placements[0].x.value()), 0.1, 1e-6);
    EXPECT_NEAR(boss_.placements[0].y.value(), std::sin(boss_.placements[0].x.value()) + 5.0, 1e-6);

    // The next game: the counter is past 100 and the sweep starts at once.
    hang(50);
    step();
    EXPECT_NE(boss_.placements[0].x, 0.0);
}

TEST_F(BossTest, SweepsBetweenTheEdgesOnTheSineAndTwiceAsFastStraightBelowTwelve) {
    hang(50);
    while (bossSweepDelay() < 100) step();  // whatever earlier games left
    double lowest = 0, highest = 0;
    for (int i = 0; i < 400; ++i) {
        step();
        const double x = boss_.placements[0].x.value();
        lowest = std::min(lowest, x), highest = std::max(highest, x);
        EXPECT_NEAR(boss_.placements[0].y.value(), std::sin(x) + 5.0, 1e-6);
    }
    EXPECT_GE(highest, 7.5);
    EXPECT_LT(highest, 7.61);
    EXPECT_LE(lowest, -7.5);
    EXPECT_GT(lowest, -7.61);

    // Below 12: 0.2 a frame, the height kept, the pause counter untouched.
    boss_.hitPoints = 11;
    boss_.placements[0].y = 4.25;
    const std::int32_t delay = bossSweepDelay();
    int turns = 0;
    std::int32_t direction = bossSweepDirection();
    for (int i = 0; i < 400; ++i) {
        const double before = boss_.placements[0].x.value();
        step();
        EXPECT_NEAR(std::fabs(boss_.placements[0].x.value() - before), 0.2, 1e-5);
        EXPECT_LT(std::fabs(boss_.placements[0].x.value()), 7.71);
        if (bossSweepDirection() != direction) ++turns, direction = bossSweepDirection();
    }
    EXPECT_GE(turns, 4);
    EXPECT_EQ(boss_.placements[0].y, 4.25);
    EXPECT_EQ(bossSweepDelay(), delay);
}

TEST_F(BossTest, Boss2BouncesAsTheSinglePrecisionFormulaGivesAndKeepsItsSpeedsForTheNextGame) {
    boss2_.reset(0);
    boss2_.placements[0].active = 1;
    // The speeds are those the run has left (0.5 and 0.2 in a fresh process).
    Boss2Reference ref{0.0, 7.0, boss2Vx().value(), boss2Vy().value()};
    for (int frame = 1; frame <= 400; ++frame) {
        boss2_.update(0, 0, Placement{});
        ref.step();
        ASSERT_EQ(boss2_.placements[0].x.value(), ref.x) << "frame " << frame;
        ASSERT_EQ(boss2_.placements[0].y.value(), ref.y) << "frame " << frame;
        ASSERT_EQ(boss2Vx().value(), ref.vx) << "frame " << frame;
        ASSERT_EQ(boss2Vy().value(), ref.vy) << "frame " << frame;
        EXPECT_LT(std::fabs(ref.x), 9.0);
        EXPECT_GT(ref.y, 1.0);
        EXPECT_LT(ref.y, 11.0);
    }
    EXPECT_GE(ref.bounces, 10);
    EXPECT_EQ(boss2_.placements[0].active, 1);

    const Real vx = boss2Vx(), vy = boss2Vy();
    boss2_.reset(0);
    EXPECT_EQ(boss2_.placements[0].x, 0.0);
    EXPECT_EQ(boss2_.placements[0].y, 7.0);
    EXPECT_EQ(boss2Vx(), vx);
    EXPECT_EQ(boss2Vy(), vy);
}

TEST_F(BossTest, ABossBehindThePlayerLeavesPlay) {
    hang(50);
    boss_.placements[0].z = -15.5;
    step();
    EXPECT_EQ(boss_.placements[0].active, 0);
    // Boss2 only while inside the band.
    boss2_.reset(0);
    boss2_.placements[0].active = 1;
    boss2_.placements[0].z = -15.5;
    boss2_.placements[0].x = 20.0;
    boss2_.update(0, 0, Placement{});
    EXPECT_EQ(boss2_.placements[0].active, 1);
    boss2_.placements[0].x = 0.0;
    boss2_.placements[0].y = 6.0;
    boss2_.update(0, 0, Placement{});
    EXPECT_EQ(boss2_.placements[0].active, 0);
}

TEST(BossInTheWorld, ABossAtZeroHitPointsIsNeitherDrawnNorHitAgain) {
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
    for (Placement& s : shots) s.x = slot.x, s.y = slot.y, s.z = slot.z, s.halfX = s.halfY = s.halfZ = 1.0;
    shots[0].active = 1;
    world.checkShots(shots, 1);
    EXPECT_EQ(world.boss2.hitPoints, 0);
    EXPECT_EQ(slot.active, 0);
    shots[0].active = 1;
    world.checkShots(shots, 1);
    EXPECT_EQ(shots[0].active, 1) << "passes through";
    EXPECT_EQ(world.boss2.hitPoints, 0);

    gfx::setCurrentFrame(2);
    world.frame();
    EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 0);
    f.device()->EndScene();
}
