// The straight-flying groups: homing steps worked out by hand (and the frame
// on the aim point), the crossing sweepers' turns, and the tail every group
// shares: leaving below z -30 and the forward step.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/group_test_helpers.h"
#include "enemies/straight_groups.h"

TEST(HomingGroup, StepsFourTenthsAlongTheDirectionToTheAimPoint) {
    SinglePrecision sp;
    HomingGroup g;
    g.reset(0);
    runFrames(g, 1, shipAt(0, 2, -7));
    // Unit 0 from (-7, 6, 100): d = (7, -4, -102), |d|² = 49 + 16 + 10404.
    const double len0 = single(std::sqrt(10469.0));
    EXPECT_EQ(g.placements[0].x, single(-7 + single(single(0.4 * 7) / len0)));
    EXPECT_EQ(g.placements[0].y, single(6 + single(single(0.4 * -4) / len0)));
    EXPECT_EQ(g.placements[0].z, single(single(100 - 0.4) - 0.2));
    // Unit 1 from (-3, 6, 100): |d|² = 9 + 16 + 10404.
    const double len1 = single(std::sqrt(10429.0));
    EXPECT_EQ(g.placements[1].x, single(-3 + single(single(0.4 * 3) / len1)));
    // From 4.1 away in x-y the unit draws in, faster as the depth closes.
    double gap = std::hypot(1.0, 4.0);
    for (int k = 0; k < 160; ++k) {
        runFrames(g, 1, shipAt(0, 2, -7));
        const double now = std::hypot(g.placements[2].x.value(), g.placements[2].y.value() - 2);
        ASSERT_LT(now, gap) << "frame " << k;
        gap = now;
    }
    EXPECT_LT(gap, 1.0);
}

TEST(HomingGroup, AUnitOnTheAimPointHoldsItsPlaceInXAndY) {
    SinglePrecision sp;
    HomingGroup g;
    g.reset(0);
    g.placements[0].x = 1.0;
    g.placements[0].y = 6.0;
    g.placements[0].z = -2.0;  // 5 in front of the ship
    runFrames(g, 1, shipAt(1, 6, -7));
    EXPECT_EQ(g.placements[0].x, 1.0);
    EXPECT_EQ(g.placements[0].y, 6.0);
    EXPECT_EQ(g.placements[0].z, single(single(-2 - 0.4) - 0.2));
    // The others steer as usual.
    EXPECT_GT(g.placements[1].x, -3.0);
}

TEST(CrossGroup, UnitsTwoAndFourSweepVerticallyAndAllTurnAtTheEdges) {
    SinglePrecision sp;
    CrossGroup g;
    g.reset(0);
    EXPECT_EQ(g.pendingCount(), 2);
    runFrames(g, 1);
    EXPECT_EQ(g.pendingCount(), 0);
    for (int i : {1, 3}) {
        EXPECT_EQ(g.vx(i), 0.0);
        EXPECT_EQ(g.vy(i), 0.4);
        EXPECT_EQ(g.placements[i].x, double(3 * i - 6));
        EXPECT_EQ(g.placements[i].y, single(6 + 0.4));
    }
    for (int i : {0, 2, 4}) {
        EXPECT_EQ(g.vy(i), 0.0);
        EXPECT_EQ(g.placements[i].x, single(3 * i - 6 + 0.4));
        EXPECT_EQ(g.placements[i].y, 6.0);
    }
    EXPECT_EQ(g.placements[0].z, single(single(100 - 0.1) - 0.2));

    // Unit 4 from x 6: 6.4, 6.8, then 7.2 turns it.
    runFrames(g, 1);
    EXPECT_EQ(g.vx(4), 0.4);
    runFrames(g, 1);
    const double x3 = single(single(single(6 + 0.4) + 0.4) + 0.4);
    EXPECT_EQ(g.placements[4].x, x3);
    EXPECT_EQ(g.vx(4), -0.4);
    runFrames(g, 1);
    EXPECT_EQ(g.placements[4].x, single(x3 - 0.4));
    // Unit 2 (index 1) from y 6 turns at 9.6, on its ninth step.
    runFrames(g, 4);
    EXPECT_EQ(g.vy(1), 0.4);
    runFrames(g, 1);
    EXPECT_NEAR(g.placements[1].y.value(), 9.6, 1e-4);
    EXPECT_EQ(g.vy(1), -0.4);

    // A reset hands out the sweeps again.
    g.reset(3);
    EXPECT_EQ(g.vy(1), 0.0);
    EXPECT_EQ(g.vx(1), 0.4);
    runFrames(g, 1);
    EXPECT_EQ(g.vy(1), 0.4);
    EXPECT_EQ(g.vx(1), 0.0);
    EXPECT_EQ(g.vx(4), 0.4);
    EXPECT_EQ(g.placements[1].y, single(6 + 0.4));
}

TEST(LineGroup, ALeavesBelowMinusThirtyAfterItsOwnStepBeforeTheForwardStep) {
    SinglePrecision sp;
    LineGroup g;
    g.reset(0);
    for (int i = 0; i < 4; ++i) g.placements[i].active = 1;
    g.placements[0].z = -29.85;  // -30.05 after its own step: gone this frame
    g.placements[1].z = -29.75;  // -29.95: still in play, -30.15 after the forward step
    runFrames(g, 1);
    EXPECT_EQ(g.placements[0].active, 0);
    EXPECT_EQ(g.placements[0].z, single(single(-29.85 - 0.2) - 0.2));
    EXPECT_EQ(g.placements[1].active, 1);
    EXPECT_EQ(g.placements[1].z, single(single(-29.75 - 0.2) - 0.2));
    EXPECT_EQ(g.placements[2].active, 1);
    EXPECT_EQ(g.placements[2].z, single(single(100 - 0.2) - 0.2));
    runFrames(g, 1);
    EXPECT_EQ(g.placements[1].active, 0);
    // Units out of play still move; nothing else about them changes.
    EXPECT_EQ(g.placements[0].x, -6.0);
    EXPECT_EQ(g.placements[0].y, 4.0);
}

TEST(ArchGroup, TheOuterUnitsStayBelowTheBand) {
    SinglePrecision sp;
    ArchGroup g;
    g.reset(0);
    runFrames(g, 50);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g.placements[i].y, (i == 0 || i == 3) ? 1.0 : 4.0);
        EXPECT_EQ(g.placements[i].x, double(4 * i - 5));
        EXPECT_NEAR(g.placements[i].z.value(), 100 - 50 * 0.4, 1e-3);
    }
    EXPECT_FALSE(inPlayBand(g.placements[0]));
}
