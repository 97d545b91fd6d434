// PatrolGroup: the dash-in, the run round the border of the band, the dives
// across it when level with the player, and that it never leaves by itself.
#include <gtest/gtest.h>

#include "enemies/patrol_group.h"
#include "enemies/random_seeds.h"
#include "platform/crt.h"

using namespace platform;
using enemies_test::f32;
using enemies_test::seedDrawing;

namespace {

class PatrolGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        fpu::setSinglePrecision(true);
        patrol.reset(0);
        patrol.placements[0].active = 1;
        player.x = 100.0;  // far off: no dives unless a test moves the player
        player.y = 6.0;
        player.z = -7.0;
    }
    void TearDown() override { fpu::setSinglePrecision(false); }

    const Placement& unit() const { return patrol.placements[0]; }
    void step() { patrol.update(0, 0, player); }
    // Runs until `done` holds after an update; false if it never does.
    template <class Done>
    bool runUntil(Done done, int limit = 1000) {
        for (int i = 0; i < limit; ++i) {
            step();
            if (done()) return true;
        }
        return false;
    }
    bool onBorder() const {
        return unit().x == 8.0 || unit().x == -8.0 || unit().y == 2.0 || unit().y == 10.0;
    }

    PatrolGroup patrol;
    Placement player;
};

}  // namespace

TEST_F(PatrolGroupTest, StartsDownTheLeftEdgeWhileDashingIn) {
    EXPECT_EQ(unit().cue, 3100);
    double y = 10.0, z = 100.0;
    for (int frame = 1; frame <= 3; ++frame) {
        step();
        y = f32(y - 0.3);
        z = f32(f32(f32(z - 3.0) + 0.2) - 0.2);
        EXPECT_EQ(unit().x, -8.0);
        EXPECT_EQ(unit().y, y);
        EXPECT_EQ(unit().z, z);
        EXPECT_TRUE(patrol.dashingIn());
    }
}

TEST_F(PatrolGroupTest, DashInEndsWithinTwelveOfThePlayerAndTheDepthHolds) {
    // 3 a frame from 100 until the gap to the player (z -7) is under 12 at
    // the start of a frame: that frame (the 33rd, from about 4) still steps.
    int frames = 0;
    while (patrol.dashingIn() && frames < 100) {
        step();
        ++frames;
    }
    EXPECT_EQ(frames, 33);
    EXPECT_NEAR(unit().z.value(), 1.0, 1e-5);
    const Real held = unit().z;
    for (int i = 0; i < 3000; ++i) {
        step();
        ASSERT_EQ(unit().z, held) << "frame " << i;
    }
}

TEST_F(PatrolGroupTest, RunsRoundTheBorderCornerByCornerWithoutDrawing) {
    runUntil([&] { return !patrol.dashingIn(); });
    const std::uint32_t state = platform::randomState();
    // C0 is where it started; then C1, C2, C3 and C0 again, each reached exactly.
    const double corners[5][2] = {{-8, 2}, {8, 2}, {8, 10}, {-8, 10}, {-8, 2}};
    for (const auto& c : corners) {
        ASSERT_TRUE(runUntil([&] { return unit().x == c[0] && unit().y == c[1]; }))
            << "corner (" << c[0] << ", " << c[1] << ")";
    }
    EXPECT_TRUE(onBorder());
    EXPECT_EQ(platform::randomState(), state);  // never level with the player: no draw
}

TEST_F(PatrolGroupTest, DiveFromTheTopWhileMovingLeftEndsOnTheBottomMovingRight) {
    // Up the right side, then along the top to the left, past the middle.
    ASSERT_TRUE(runUntil([&] { return unit().x == 8.0 && unit().y == 10.0; }));
    ASSERT_TRUE(runUntil([&] { return unit().x < 0.0; }));
    ASSERT_EQ(unit().y, 10.0);
    const Real x = unit().x;
    player.x = x + 0.09;  // within 0.1
    platform::srand(seedDrawing(16382));
    step();
    EXPECT_EQ(unit().x, x);
    EXPECT_EQ(unit().y, 9.5);
    player.x = 100.0;
    int frames = 1;
    while (unit().y != 2.0 && frames < 100) {
        step();
        ++frames;
    }
    EXPECT_EQ(frames, 16);  // 8 down at 0.5 a frame
    EXPECT_EQ(unit().x, x);
    step();
    EXPECT_EQ(unit().x, f32(x.value() + 0.3));
    EXPECT_EQ(unit().y, 2.0);
}

TEST_F(PatrolGroupTest, DiveFromTheBottomWhileMovingRightEndsOnTheTopMovingLeft) {
    ASSERT_TRUE(runUntil([&] { return unit().x == -8.0 && unit().y == 2.0; }));
    ASSERT_TRUE(runUntil([&] { return unit().x > 0.0; }));
    const Real x = unit().x;
    player.x = x - 0.09;
    platform::srand(seedDrawing(0));
    step();
    EXPECT_EQ(unit().x, x);
    EXPECT_EQ(unit().y, 2.5);
    player.x = 100.0;
    ASSERT_TRUE(runUntil([&] { return unit().y == 10.0; }, 15));
    EXPECT_EQ(unit().x, x);
    step();
    EXPECT_EQ(unit().x, f32(x.value() - 0.3));
    EXPECT_EQ(unit().y, 10.0);
}

TEST_F(PatrolGroupTest, ADrawOf16383OrAPlayerNotLevelMeansNoDive) {
    ASSERT_TRUE(runUntil([&] { return unit().x == -8.0 && unit().y == 2.0; }));
    ASSERT_TRUE(runUntil([&] { return unit().x > 0.0; }));
    Real x = unit().x;
    player.x = x;
    platform::srand(seedDrawing(16383));
    step();
    EXPECT_EQ(unit().y, 2.0);
    EXPECT_EQ(unit().x, f32(x.value() + 0.3));
    // A player more than 0.1 off is not level: no draw is taken either.
    x = unit().x;
    player.x = x + 0.15;
    platform::srand(seedDrawing(0));
    const std::uint32_t state = platform::randomState();
    step();
    EXPECT_EQ(unit().y, 2.0);
    EXPECT_EQ(platform::randomState(), state);
}

TEST_F(PatrolGroupTest, NeverLeavesPlayWhileThePlayerWanders) {
    platform::srand(12345);
    runUntil([&] { return !patrol.dashingIn(); });
    const Real depth = unit().z;
    int dives = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        player.x = -8.0 + (frame * 7 % 1601) / 100.0;  // sweeps the band's width
        step();
        ASSERT_EQ(unit().active, 1) << "frame " << frame;
        ASSERT_EQ(unit().z, depth);
        ASSERT_GE(unit().x, -8.0);
        ASSERT_LE(unit().x, 8.0);
        ASSERT_GE(unit().y, 2.0);
        ASSERT_LE(unit().y, 10.0);
        // Off the border only while diving straight across.
        if (!onBorder()) ++dives;
    }
    EXPECT_GT(dives, 0);
}
