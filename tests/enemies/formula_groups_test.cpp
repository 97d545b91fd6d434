// The groups driven by a phase angle: their first frames worked out by hand
// in single precision, and the state that a reset keeps or restarts.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/formula_groups.h"
#include "enemies/group_test_helpers.h"

TEST(RingGroup, TheSharedRadiusAndSpeedMoveOncePerUnit) {
    SinglePrecision sp;
    RingGroup g;
    g.reset(0);
    runFrames(g, 1);
    // Unit 0: angle 0.05 and the radius after one step.
    const double a0 = single(0 + 0.05);
    const double r1 = single(8 - 0.01);
    EXPECT_EQ(g.angle(0), a0);
    EXPECT_EQ(g.placements[0].x, single(std::cos(a0) * r1));
    EXPECT_EQ(g.placements[0].y, single(single(std::sin(a0) * r1) / 2 + 6));
    // Six steps of radius and speed in one frame; unit 5 turns by the speed
    // after five of them and is placed with the radius after six.
    double r = 8, w = 0.05;
    for (int k = 0; k < 5; ++k) r = single(r - 0.01), w = single(w + 0.0002);
    const double a5 = single(5 + w);
    r = single(r - 0.01), w = single(w + 0.0002);
    EXPECT_EQ(g.radius(), r);
    EXPECT_EQ(g.angularSpeed(), w);
    EXPECT_EQ(g.angle(5), a5);
    EXPECT_EQ(g.placements[5].x, single(std::cos(a5) * r));
    EXPECT_EQ(g.placements[5].y, single(single(std::sin(a5) * r) / 2 + 6));
    EXPECT_NEAR(r, 7.94, 1e-5);
    // The tail only: the forward step.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g.placements[i].z, single(90 + 6 * i - 0.2));
}

TEST(RingGroup, TheRadiusTurnsAtZeroAndCarriesOverToTheNextGame) {
    SinglePrecision sp;
    RingGroup g;
    g.reset(0);
    int frames = 0;
    while (g.radiusRate() > 0 && frames < 400) runFrames(g, 1), ++frames;
    // It turned in the frame that took it below 0 (the units after the
    // turn already widen it again), and so did the speed.
    EXPECT_GT(frames, 100);
    EXPECT_NEAR(g.radius().value(), 0.0, 0.06);
    EXPECT_EQ(g.radiusRate(), -0.01);
    EXPECT_EQ(g.angularAcceleration(), -0.0002);
    runFrames(g, 3);
    EXPECT_GT(g.radius(), 0.0);

    const Real kept = g.radius();
    g.reset(1);
    EXPECT_EQ(g.radius(), kept);
    EXPECT_EQ(g.radiusRate(), 0.01);
    EXPECT_EQ(g.angularSpeed(), 0.05);
    EXPECT_EQ(g.angularAcceleration(), 0.0002);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g.angle(i), double(i));
    // The next game's first frame starts from the kept radius.
    runFrames(g, 1);
    EXPECT_EQ(g.placements[0].x, single(std::cos(single(0.05)) * single(kept.value() - 0.01)));
}

TEST(BounceGroup, UnitsDriftDownAndBounceOffTheFloor) {
    SinglePrecision sp;
    BounceGroup g;
    g.reset(0);
    runFrames(g, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.vx(i), 0.05);
        EXPECT_EQ(g.vy(i), -0.1);
        EXPECT_EQ(g.placements[i].x, single(2 * i - 5 + 0.05));
        EXPECT_EQ(g.placements[i].y, single(6 - 0.1));
        EXPECT_EQ(g.placements[i].z, single(100 - 0.2));
    }
    // Forty steps down reach y 2.0, below 2.05: the next frame turns upwards.
    runFrames(g, 39);
    EXPECT_EQ(g.vy(0), -0.1);
    EXPECT_NEAR(g.placements[0].y.value(), 2.0, 1e-4);
    runFrames(g, 1);
    EXPECT_EQ(g.vy(0), 0.1);
    EXPECT_NEAR(g.placements[0].y.value(), 2.1, 1e-4);

    // They stay inside the box for good.
    for (int k = 0; k < 600; ++k) {
        runFrames(g, 1);
        for (int i = 0; i < 3; ++i) {
            EXPECT_GT(g.placements[i].x, -7.96);
            EXPECT_LT(g.placements[i].x, 7.96);
            EXPECT_GT(g.placements[i].y, 1.99);
            EXPECT_LT(g.placements[i].y, 10.0);
        }
    }

    // A reset sets the first-frame drift again.
    g.reset(2);
    runFrames(g, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.vy(i), -0.1);
        EXPECT_EQ(g.placements[i].y, single(6 - 0.1));
    }
}

TEST(WeaveGroup, SwingsInXAndClosesAtThreeTenthsAFrame) {
    SinglePrecision sp;
    WeaveGroup g;
    g.reset(0);
    runFrames(g, 1);
    const double a0 = single(1.57 + 0.05), a1 = single(-1.57 + 0.05);
    EXPECT_EQ(g.angle(0), a0);
    EXPECT_EQ(g.placements[0].x, single(single(std::sin(a0) * 8) * 2 / 3));
    EXPECT_EQ(g.placements[1].x, single(single(std::sin(a1) * 8) * 2 / 3));
    EXPECT_NEAR(g.placements[1].x.value(), -16.0 / 3 * std::sin(1.52), 1e-5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g.placements[i].y, i < 2 ? 4.0 : 8.0);
        // n is 0 here: the unit's own step is 0 + 0.1, rounded.
        EXPECT_EQ(g.placements[i].z, single(single(90 + 6 * i - single(0.1)) - 0.2));
    }
}

TEST(WeaveGroup, UnitsTwoAndThreeKeepTheirAnglesOverAReset) {
    SinglePrecision sp;
    WeaveGroup g;
    g.reset(0);
    runFrames(g, 10);
    const Real a2 = g.angle(2), a3 = g.angle(3);
    EXPECT_NEAR(a2.value(), 1.57 + 0.5, 1e-5);
    g.reset(2);
    EXPECT_EQ(g.angle(0), 1.57);
    EXPECT_EQ(g.angle(1), -1.57);
    EXPECT_EQ(g.angle(2), a2);
    EXPECT_EQ(g.angle(3), a3);
    // So unit 2 no longer starts in step with unit 0.
    runFrames(g, 1);
    EXPECT_NE(g.placements[2].x, g.placements[0].x);
    EXPECT_EQ(g.placements[2].x, single(single(std::sin(single(a2.value() + 0.05)) * 8) * 2 / 3));
}

TEST(LissajousGroup, StartsFromSpacedPhasesAndFollowsTheFigure) {
    SinglePrecision sp;
    LissajousGroup g;
    g.reset(0);
    const double q = -0.10466666666666669;
    EXPECT_EQ(g.phase(0), q);
    EXPECT_EQ(g.phase(1), q);
    EXPECT_EQ(g.phase(9), 9 * q);
    runFrames(g, 1);
    const double p = single(q + 0.05);
    EXPECT_EQ(g.phase(0), p);
    EXPECT_EQ(g.placements[0].y, single(single(std::sin(p / 2) * 8) / 2 + 6));
    EXPECT_EQ(g.placements[0].x, single(single(std::cos(p * 2) * 8) + -1.0466666666666669));
    EXPECT_EQ(g.placements[0].z, single(90 - 0.2));
}

TEST(LissajousGroup, UnitsZeroAndOneAreAlwaysTogether) {
    SinglePrecision sp;
    LissajousGroup g;
    g.reset(1);
    for (int k = 0; k < 300; ++k) {
        runFrames(g, 1);
        ASSERT_EQ(g.placements[0].x, g.placements[1].x) << "frame " << k;
        ASSERT_EQ(g.placements[0].y, g.placements[1].y) << "frame " << k;
    }
    EXPECT_NE(g.placements[1].x, g.placements[2].x);
    // Over a reset the phases restart.
    g.reset(4);
    EXPECT_EQ(g.phase(3), 3 * LissajousGroup::Spacing);
}

TEST(RoseGroup, FirstFrameOnTheRose) {
    SinglePrecision sp;
    RoseGroup g;
    g.reset(0);
    const double q = -0.06977777777777779;
    EXPECT_EQ(g.phase(13), 13 * q);
    runFrames(g, 1);
    for (int i : {0, 7}) {
        const double p = single((i == 0 ? q : i * q) + 0.03);
        const double petal = std::sin(p * 4);
        EXPECT_EQ(g.phase(i), p);
        EXPECT_EQ(g.placements[i].y, single(single(std::sin(p) * petal) * 8 / 2 + 6)) << i;
        EXPECT_EQ(g.placements[i].x, single(single(std::cos(p) * petal) * 8 + -0.976888888888889)) << i;
        EXPECT_EQ(g.placements[i].z, single(90 + 6 * i - 0.2));
    }
}
