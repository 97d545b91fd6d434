// The second boss end to end from the practice start: it enters at tick
// 4500, bounces inside the band, and its first ring leaves 150 frames later
// from where it is, read back from the trace.
#include <gtest/gtest.h>

#include <cmath>

#include "support/run_game.h"

namespace {

int signOf(double v) { return (v > 0) - (v < 0); }

}  // namespace

TEST(BossEndToEnd, TheSecondBossEntersBouncesAndFiresItsRing) {
    GameRunRequest r;
    r.script = "0 z\n";  // easy, at once
    r.args = {"--frames", "215", "--start-tick", "4490", "--trace-groups", "world,audio"};
    const GameRun run = runGame(r);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    long entered = -1, ring = -1;
    int xTurns = 0, yTurns = 0;
    double lastVx = 0.5, lastVy = 0.2;
    for (std::size_t f = 0; f < run.trace.size(); ++f) {
        const auto& line = run.trace[f];
        const auto& world = line["world"];
        const auto& boss2 = world["boss2"];
        if (entered < 0 && boss2["active"].integer() == 1) {
            entered = static_cast<long>(f);
            EXPECT_EQ(world["tick"].integer(), 4500);
            EXPECT_TRUE(boss2["x"].num() == 0 && boss2["y"].num() == 7 && boss2["cue"].integer() == 4500);
        }
        if (entered < 0) continue;
        EXPECT_EQ(world["tick"].integer(), 4500) << "the clock stands still";
        EXPECT_TRUE(std::fabs(boss2["x"].num()) < 9 && boss2["y"].num() > 1 && boss2["y"].num() < 11) << "frame " << f;
        const double vx = boss2["vx"].num(), vy = boss2["vy"].num();
        xTurns += signOf(vx) != signOf(lastVx);
        yTurns += signOf(vy) != signOf(lastVy);
        lastVx = vx, lastVy = vy;
        for (const auto& played : line["audio"]["played"].items)
            if (played["owner"].str() == "SpiralBeams") {
                EXPECT_EQ(ring, -1) << "one ring so far";
                ring = static_cast<long>(f);
            }
    }
    ASSERT_GE(entered, 0);
    EXPECT_GE(xTurns, 3) << "turns at the sides";
    EXPECT_GE(yTurns, 3) << "turns at the top and bottom";
    ASSERT_EQ(ring - entered, 150);

    // The ring leaves from where the boss is and moves 0.6 nearer a frame.
    const auto& world = run.trace[ring]["world"];
    const auto& rings = world["spiralBeams"];
    EXPECT_EQ(rings["centre"][0].num(), world["boss2"]["x"].num());
    EXPECT_EQ(rings["centre"][1].num(), world["boss2"]["y"].num());
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(rings["slots"][i]["active"].integer(), 1);
        EXPECT_NEAR(rings["slots"][i]["z"].num(), 49.4, 1e-5);
        EXPECT_NEAR(run.trace[ring + 1]["world"]["spiralBeams"]["slots"][i]["z"].num(), 48.8, 1e-5);
    }
}
