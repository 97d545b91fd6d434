// The field of play end to end: the waves entering on their cues by
// difficulty, the practice start, and the random generator's seed from the
// calendar time, read back from the trace's world group.
#include <gtest/gtest.h>

#include "support/run_game.h"

namespace {

// A game started on the title at frame 0 (after `moves` on the menu), run
// for `frames` frames, tracing only the field.
GameRun playField(const std::string& moves, int frames, std::vector<std::string> extra = {}) {
    GameRunRequest r;
    r.script = moves + std::to_string(moves.empty() ? 0 : 20) + " z\n";
    r.args = {"--frames", std::to_string(frames), "--trace-groups", "world,display"};
    r.args.insert(r.args.end(), extra.begin(), extra.end());
    return runGame(r);
}

// The clock's tick in the first frame in which unit 0 of group k is in play.
long long entryTick(const GameRun& run, int k) {
    for (const auto& line : run.trace) {
        const auto& world = line["world"];
        if (world["groups"][k]["slots"][0]["active"].integer() == 1) return world["tick"].integer();
    }
    return -1;
}

}  // namespace

TEST(WorldEndToEnd, OnEasyTheWavesEnterOnTheirFirstCues) {
    const GameRun run = playField("", 700);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(entryTick(run, 10), 200);
    EXPECT_EQ(entryTick(run, 11), 400);
    EXPECT_EQ(entryTick(run, 0), 600);
    const auto& last = run.trace.back()["world"];
    EXPECT_EQ(last["difficulty"].integer(), 0);
    EXPECT_EQ(last["lastCue"][10].integer(), 200);
    // Every unit that entered claimed a shot slot of its own.
    EXPECT_NE(last["groups"][0]["slots"][0]["link"].integer(), last["groups"][0]["slots"][1]["link"].integer());
}

TEST(WorldEndToEnd, OnNormalTheWavesEnterOnTheirSecondCues) {
    const GameRun run = playField("0-1 down\n", 400);  // normal is one step down from easy
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.trace.back()["world"]["difficulty"].integer(), 1);
    EXPECT_EQ(entryTick(run, 11), 200);
    EXPECT_EQ(entryTick(run, 0), 200);
    EXPECT_EQ(entryTick(run, 10), 300);
}

TEST(WorldEndToEnd, APracticeStartSkipsTheWavesAndMeetsTheSecondBoss) {
    const GameRun run = playField("", 120, {"--start-tick", "4490"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& last = run.trace.back()["world"];
    // Boss2 entered at 4500 and the clock has stood still since.
    EXPECT_EQ(last["lastCue"][13].integer(), 4500);
    EXPECT_EQ(last["tick"].integer(), 4500);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(last["lastCue"][k].integer(), 0) << "group " << k;
}

TEST(WorldEndToEnd, TheCalendarTimeSeedsTheEnemiesRandomGenerator) {
    const GameRun a = playField("", 60, {"--clock-start", "1000000000"});
    const GameRun b = playField("", 60, {"--clock-start", "1234567890"});
    ASSERT_EQ(a.exitCode, 0);
    ASSERT_EQ(b.exitCode, 0);
    EXPECT_EQ(a.trace.front()["world"]["random"].integer(), 1000000000);
    EXPECT_EQ(b.trace.front()["world"]["random"].integer(), 1234567890);
}
