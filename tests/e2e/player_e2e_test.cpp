// The player end to end, read back from the trace's player and audio groups:
// steering to the band's edges while firing, and a game lost to three hits.
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

TEST(PlayerEndToEnd, SteeringToTheBandsEdgesWhileFiringFromTheFirstPlayingFrame) {
    // Play starts at frame 50: up for 82 frames, down for 83, right for 43,
    // then up and right, then up.
    const GameRun run = play("0-131 up z\n132-214 down z\n215-257 right z\n258-260 up right z\n261 up z\n", 262);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto ship = [&](int frame, const char* axis) { return run.trace[frame]["player"]["ship"][axis].num(); };
    // Every sum rounds to single precision; the edge is tested before each step.
    EXPECT_EQ(ship(129, "y"), double(10.0000019f));
    EXPECT_EQ(ship(131, "y"), double(10.0000019f));
    EXPECT_EQ(ship(212, "y"), double(1.9000005f));
    EXPECT_EQ(ship(214, "y"), double(1.9000005f));
    EXPECT_EQ(ship(255, "x"), double(8.1999969f));
    EXPECT_EQ(ship(260, "x"), double(8.1999969f));
    EXPECT_EQ(ship(260, "y"), double(1.9000005f));  // the diagonal moves neither axis
    EXPECT_GT(ship(261, "y"), 2.0);
    // The roll turns once in 79 frames of a held direction, then starts over.
    EXPECT_GT(ship(127, "roll"), 6.2);
    EXPECT_EQ(ship(128, "roll"), 0.0);

    // Shots leave at once, but the shot sound waits out its first 20 frames.
    std::vector<long long> leaves;
    for (const Value& line : run.trace)
        for (const Value& shot : line["player"]["shots"].items)
            if (shot["active"].integer() == 1 && shot["z"].num() == -7.0) leaves.push_back(line["frame"].integer());
    ASSERT_GE(leaves.size(), 3u);
    EXPECT_EQ(std::vector<long long>(leaves.begin(), leaves.begin() + 3), (std::vector<long long>{50, 70, 90}));
    const auto shotSounds = soundFrames(run, "PlayerSide", 0);
    ASSERT_GE(shotSounds.size(), 2u);
    EXPECT_EQ(shotSounds[0], 70);
    EXPECT_EQ(shotSounds[1], 90);
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

TEST(PlayerEndToEnd, FiveMissilesEmptyTheStockAndTheSixthPressIsSilent) {
    // An empty field (a practice start past every wave): each missile ends
    // at its first hit scan, so holding X launches as fast as the game lets it.
    const GameRun run = play("0 z\n1-400 x\n", 400, {"--start-tick", "6000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<long long> launches;
    for (std::size_t f = 1; f < run.trace.size(); ++f)
        if (run.trace[f]["player"]["missile"]["stock"].integer() < run.trace[f - 1]["player"]["missile"]["stock"].integer())
            launches.push_back(static_cast<long long>(f));
    ASSERT_EQ(launches.size(), 5u);
    EXPECT_EQ(launches[0], 70);  // the 21st frame of play: the launch delay starts at 20
    EXPECT_EQ(soundFrames(run, "PlayerSide", 1), launches);
    EXPECT_EQ(run.trace.back()["player"]["missile"]["stock"].integer(), 0);
}
