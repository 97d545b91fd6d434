// DodgeGroup: when a dodge triggers, which way and how far it goes, the
// steps the two units share, the bounce at the band's edge and what a reset
// leaves alone.
#include <gtest/gtest.h>

#include "enemies/dodge_group.h"
#include "enemies/group_test_helpers.h"
#include "platform/crt.h"

namespace {

using Axis = DodgeGroup::Axis;

// Calendar times whose first draw after seeding is even (the dodge goes
// towards -1) and odd (towards +1).
constexpr std::int64_t EvenSecond = 1700000001;  // first draw 28466
constexpr std::int64_t OddSecond = 1700000002;   // first draw 28469

const float Third = 1.0f / 3.0f;

class DodgeGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        useCalendarTime(OddSecond);
        g.reset(0);
    }
    SinglePrecision single_;
    DodgeGroup g;
};

}  // namespace

TEST_F(DodgeGroupTest, AShipExactlyTwoAwayOrFartherTriggersNothing) {
    // Unit 0 at (-5, 5), unit 1 at (-2, 5).
    for (const Placement& ship : {shipAt(0, 5), shipAt(-2, 7), shipAt(-2, 3), shipAt(-5, 3), shipAt(-7, 5),
                                  shipAt(0.5, 5.5)}) {
        g.reset(0);
        runFrames(g, 2, ship);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(g.dodgeTimer(i), 0) << "ship at " << ship.x.value() << ", " << ship.y.value();
            EXPECT_EQ(g.placements[i].y, 5.0);
            EXPECT_EQ(g.axis(i), Axis::None);
        }
        EXPECT_EQ(g.placements[0].x, -5.0);
        EXPECT_EQ(g.placements[1].x, -2.0);
    }
    // Just inside on both axes does trigger.
    runFrames(g, 1, shipAt(-0.001, 6.999));
    EXPECT_EQ(g.dodgeTimer(1), 30);
    EXPECT_EQ(g.dodgeTimer(0), 0);
}

TEST_F(DodgeGroupTest, ADodgeMovesFromTheNextFrameFirstAlongXThenAlongY) {
    const Placement lined = shipAt(-2.5, 5.5);
    runFrames(g, 1, lined);
    EXPECT_EQ(g.dodgeTimer(1), 30);
    EXPECT_EQ(g.placements[1].x, -2.0);  // not yet
    EXPECT_EQ(g.placements[1].z, single(single(100 - 0.01) - 0.2));

    runFrames(g, 1, lined);
    EXPECT_EQ(g.axis(1), Axis::X);
    EXPECT_EQ(g.direction(1), 1.0);
    EXPECT_EQ(g.stepCount(), 1);
    EXPECT_EQ(g.dodgeTimer(1), 29);
    EXPECT_EQ(g.placements[1].x, double(-2.0f + Third));
    EXPECT_EQ(g.placements[1].y, 5.0);

    // Ten steps of a third, then it stands.
    float x = -2.0f;
    for (int k = 0; k < 10; ++k) x += Third;
    runFrames(g, 9, lined);
    EXPECT_EQ(g.stepCount(), 10);
    EXPECT_EQ(g.placements[1].x, double(x));
    EXPECT_NEAR(x, -2.0 + 10.0 / 3, 1e-5);

    // The ship sits on the unit, but it looks again only once the cycle has
    // run out: 31 frames after the trigger.
    const Placement onUnit = shipAt(x, 5);
    runFrames(g, 20, onUnit);  // frames 12 to 31
    EXPECT_EQ(g.dodgeTimer(1), 0);
    EXPECT_EQ(g.placements[1].x, double(x));
    runFrames(g, 1, onUnit);  // frame 32
    EXPECT_EQ(g.dodgeTimer(1), 30);
    runFrames(g, 1, onUnit);
    EXPECT_EQ(g.axis(1), Axis::Y);
    EXPECT_EQ(g.placements[1].x, double(x));
    EXPECT_EQ(g.placements[1].y, double(5.0f + Third));
    // Unit 0 never saw the ship.
    EXPECT_EQ(g.axis(0), Axis::None);
    EXPECT_EQ(g.placements[0].x, -5.0);
}

TEST_F(DodgeGroupTest, TheSideComesFromOneDrawSeededWithTheCalendarSecond) {
    for (const auto& [second, side] : {std::pair{EvenSecond, -1.0}, std::pair{OddSecond, 1.0}}) {
        useCalendarTime(second);
        platform::srand(12345);  // whatever came before is replaced by the seed
        DodgeGroup fresh;
        fresh.reset(0);
        runFrames(fresh, 2, shipAt(-2.5, 5.5));
        EXPECT_EQ(fresh.direction(1), side);
        EXPECT_EQ(fresh.placements[1].x, double(-2.0f + float(side) * Third));
        // Seeded with the second, then exactly one draw.
        EXPECT_EQ(platform::randomState(), static_cast<std::uint32_t>(second) * 214013u + 2531011u);
    }
}

TEST_F(DodgeGroupTest, TwoUnitsDodgingTogetherShareTheTenSteps) {
    useCalendarTime(EvenSecond);
    runFrames(g, 1, shipAt(-3.5, 5));  // within 2 of both units
    ASSERT_EQ(g.dodgeTimer(0), 30);
    ASSERT_EQ(g.dodgeTimer(1), 30);
    runFrames(g, 30, shipAt(0, -50));
    // Each unit's first frame restarts the shared count: unit 0 steps on
    // frames 2 to 7 and unit 1 on frames 2 to 6.
    float x0 = -5.0f, x1 = -2.0f;
    for (int k = 0; k < 6; ++k) x0 -= Third;
    for (int k = 0; k < 5; ++k) x1 -= Third;
    EXPECT_EQ(g.stepCount(), 10);
    EXPECT_EQ(g.direction(0), -1.0);
    EXPECT_EQ(g.direction(1), -1.0);  // same second, same side
    EXPECT_EQ(g.placements[0].x, double(x0));
    EXPECT_EQ(g.placements[1].x, double(x1));
}

TEST_F(DodgeGroupTest, ADodgeAcrossTheBandsEdgeTurnsBack) {
    g.placements[1].x = 7.5;
    runFrames(g, 1, shipAt(7.5, 5));
    const float twoThirds = 2.0f / 3.0f;
    float x = 7.5f;
    for (int frame = 2; frame <= 11; ++frame) {
        runFrames(g, 1, shipAt(0, -50));
        x += Third;
        if (!(x < 8.0f)) x -= twoThirds;
        EXPECT_EQ(g.placements[1].x, double(x)) << "frame " << frame;
        EXPECT_TRUE(inPlayBand(g.placements[1])) << "frame " << frame;
    }
    // Every second step was undone and taken back the other way.
    EXPECT_EQ(g.stepCount(), 10);
    EXPECT_NEAR(g.placements[1].x.value(), 7.5, 1e-5);
}

TEST_F(DodgeGroupTest, AUnitThatNeverDodgedIsNotPushedBackIntoTheBand) {
    g.placements[0].y = 1.0;
    runFrames(g, 3, shipAt(0, -50));
    EXPECT_EQ(g.placements[0].x, -5.0);
    EXPECT_EQ(g.placements[0].y, 1.0);
}

TEST_F(DodgeGroupTest, AResetKeepsTheAxisAndTheSharedStepCount) {
    useCalendarTime(OddSecond);
    runFrames(g, 5, shipAt(-2.5, 5.5));  // unit 1 dodges, 4 steps so far
    ASSERT_EQ(g.stepCount(), 4);
    g.reset(1);
    EXPECT_EQ(g.dodgeTimer(1), 0);
    EXPECT_EQ(g.direction(1), -1.0);
    EXPECT_EQ(g.axis(1), Axis::X);
    EXPECT_EQ(g.stepCount(), 4);
    EXPECT_EQ(g.placements[1].x, -2.0);
    // The next dodge goes along y.
    runFrames(g, 2, shipAt(-2.5, 5.5));
    EXPECT_EQ(g.axis(1), Axis::Y);
    EXPECT_EQ(g.placements[1].x, -2.0);
    EXPECT_EQ(g.placements[1].y, double(5.0f + Third));
}

TEST_F(DodgeGroupTest, UnitsLoseTwentyOneHundredthsOfDepthAndLeaveBelowMinusThirty) {
    g.placements[0].z = -29.9;
    g.placements[0].active = 1;
    runFrames(g, 1);
    EXPECT_EQ(g.placements[0].active, 1);  // -29.91 is not below -30
    EXPECT_EQ(g.placements[0].z, single(single(-29.9 - 0.01) - 0.2));
    runFrames(g, 1);
    EXPECT_EQ(g.placements[0].active, 0);
    EXPECT_NEAR(g.placements[1].z.value(), 100 - 2 * 0.21, 1e-4);
}
