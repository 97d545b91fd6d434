// The player end to end, read back from the trace's player and audio groups:
// steering up and firing from the first playing frame, and a game lost to
// three hits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using testing_json::Value;

GameRun play(const std::string& script, int frames, std::vector<std::string> extra = {}) {
    GameRunRequest r;
    r.script = script;
    r.args = {"--frames", std::to_string(frames), "--trace-groups", "player,audio"};
    r.args.insert(r.args.end(), extra.begin(), extra.end());
    return runGame(r);
}

// Frames in which `owner` played sound `entry`.
std::vector<long long> soundFrames(const GameRun& run, const std::string& owner, int entry) {
    std::vector<long long> frames;
    for (const Value& line : run.trace)
        for (const Value& call : line["audio"]["played"].items)
            if (call["owner"].str() == owner && call["entry"].integer() == entry) frames.push_back(line["frame"].integer());
    return frames;
}

}  // namespace

TEST(PlayerEndToEnd, HoldingUpAndFireFromTheFirstPlayingFrame) {
    const GameRun run = play("0-179 up z\n", 180);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The first playing frame is the first in which the sound delays count.
    long long first = -1;
    std::vector<long long> leaves;
    for (const Value& line : run.trace) {
        const Value& p = line["player"];
        if (first < 0 && p["shotSoundDelay"].integer() == 19) first = line["frame"].integer();
        for (const Value& shot : p["shots"].items)
            if (shot["active"].integer() == 1 && shot["z"].num() == -7.0) leaves.push_back(line["frame"].integer());
    }
    ASSERT_GT(first, 0);
    ASSERT_GE(leaves.size(), 3u);
    EXPECT_EQ(std::vector<long long>(leaves.begin(), leaves.begin() + 3),
              (std::vector<long long>{first, first + 20, first + 40}));
    // Shots leave at once, but the shot sound waits out its first 20 frames.
    const auto shotSounds = soundFrames(run, "PlayerSide", 0);
    ASSERT_GE(shotSounds.size(), 2u);
    EXPECT_EQ(shotSounds[0], first + 20);
    EXPECT_EQ(shotSounds[1], first + 40);

    const Value& topReached = run.trace[first + 79]["player"]["ship"];
    EXPECT_EQ(topReached["y"].num(), double(10.0000019f));
    EXPECT_EQ(run.trace.back()["player"]["ship"]["y"].num(), double(10.0000019f));
    EXPECT_GT(run.trace[first + 77]["player"]["ship"]["roll"].num(), 6.2);
    EXPECT_EQ(run.trace[first + 78]["player"]["ship"]["roll"].num(), 0.0);
}

TEST(PlayerEndToEnd, TheThirdHitEndsTheGame) {
    // From a practice start, the ship meets two enemy shots and an enemy
    // (steering found by a player that chased the nearest thing ahead).
    const GameRun run = play(
        "0 z\n60-79 up left\n80-89 left\n326-329 down right\n330-525 down\n526-538 up\n539-550 up left\n"
        "551-555 up\n569-599 up\n600-601 up right\n602-615 right\n",
        700, {"--start-tick", "190"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<long long> hits;
    for (std::size_t f = 1; f < run.trace.size(); ++f)
        if (run.trace[f]["player"]["hp"].integer() < run.trace[f - 1]["player"]["hp"].integer()) hits.push_back(f);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_GE(hits[1] - hits[0], 150);  // invulnerable in between
    EXPECT_GE(hits[2] - hits[1], 150);
    EXPECT_EQ(soundFrames(run, "PlayerSide", 2), hits);
    EXPECT_EQ(soundFrames(run, "PlayerSide", 3), std::vector<long long>{hits[1]});  // the siren at 1 point
    EXPECT_EQ(soundFrames(run, "Display", 12), std::vector<long long>{hits[2]});   // game over

    // The gauge blinks from the frame after the first hit; the empty gauge
    // shows after the third, and the ship is gone.
    EXPECT_EQ(run.trace[hits[0] + 1]["player"]["gaugeFrame"].integer(), 5);
    const Value& last = run.trace.back()["player"];
    EXPECT_EQ(last["hp"].integer(), 0);
    EXPECT_EQ(last["gaugeFrame"].integer(), 0);
    EXPECT_EQ(last["ship"]["active"].integer(), 0);
    EXPECT_EQ(last["hitFlag"].integer(), 0);
}
