// The autopilot plays a whole game on easy: from the title through the start
// hold, the waves, both bosses, the clear and the staff roll back to the
// title, read from its account on stderr (no trace: a frame's display group
// carries its device calls, far too much for thousands of frames).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

// A headless run with the autopilot and these options, untraced.
GameRun autoplay(std::vector<std::string> args) {
    GameRunRequest r;
    r.args = {"--autoplay"};
    r.args.insert(r.args.end(), args.begin(), args.end());
    r.trace = false;
    r.timeoutSeconds = 300;
    return runGame(r);
}

// The run's "autoplay: frame F: WHAT" lines, in order.
void readEvents(const GameRun& run, std::vector<long>& frames, std::vector<std::string>& seen) {
    std::istringstream in(run.err);
    for (std::string line; std::getline(in, line);) {
        const std::string head = "autoplay: frame ";
        if (line.rfind(head, 0) != 0) continue;
        const auto colon = line.find(": ", head.size());
        frames.push_back(std::stol(line.substr(head.size(), colon - head.size())));
        seen.push_back(line.substr(colon + 2));
    }
}

}  // namespace

TEST(AutopilotEndToEnd, PlaysEasyFromTheTitleToTheStaffRollAndBack) {
    const GameRun run = autoplay({"--clock-start", "1000000000", "--frames", "10500"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::vector<std::string> seen;
    std::vector<long> frames;
    readEvents(run, frames, seen);
    const std::vector<std::string> expected = {"start hold", "play", "Boss2", "Boss", "clear", "staff roll", "title"};
    // The frame limit leaves room for the next game to start: compare the first game's.
    ASSERT_GE(seen.size(), expected.size()) << run.err;
    seen.resize(expected.size());
    EXPECT_EQ(seen, expected) << run.err;
    for (std::size_t i = 1; i < expected.size(); ++i) EXPECT_LT(frames[i - 1], frames[i]);
    EXPECT_EQ(frames[1] - frames[0], 49) << "the start hold (its 50 frames count from the press)";
    EXPECT_EQ(frames[6] - frames[5], 300) << "the staff roll";
    EXPECT_NE(run.err.find("autoplay: game 1 on easy: staff roll at frame"), std::string::npos);
}

// A short soak: hard games back to back for 20,000 frames. In the sanitizer
// build the process ends with the leak check, which fails the run (exit
// code) if anything the games allocated was not freed.
TEST(AutopilotEndToEnd, SoaksTwentyThousandFramesOfHardGamesBackToBack) {
    const GameRun run = autoplay({"--autoplay-difficulty", "hard", "--frames", "20000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int games = 0;
    for (std::size_t at = run.err.find(" on hard: "); at != std::string::npos; at = run.err.find(" on hard: ", at + 1))
        ++games;
    EXPECT_GE(games, 2) << run.err;
    EXPECT_EQ(run.err.find("ERROR"), std::string::npos) << run.err;
}

// The play music fades when the first boss falls and nothing in the game
// brings it back, so the clear runs in silence; the next game starts with
// its music audible again.
TEST(AutopilotEndToEnd, TheClearIsSilentAndTheNextGameHasItsMusic) {
    const std::string dir = makeTempDir("music");
    const GameRun run = autoplay({"--start-tick", "4490", "--frames", "5500", "--sound-volume", "0",
                                  "--audio-out", dir + "/music.wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> seen;
    std::vector<long> frames;
    readEvents(run, frames, seen);
    const auto at = [&](const std::string& what, int nth) {
        for (std::size_t i = 0; i < seen.size(); ++i)
            if (seen[i] == what && --nth == 0) return frames[i];
        return -1L;
    };
    const long clear = at("clear", 1), staffRoll = at("staff roll", 1), nextPlay = at("play", 2);
    ASSERT_TRUE(clear > 0 && staffRoll > clear && nextPlay > staffRoll) << run.err;
    ASSERT_LT(nextPlay + 400, 5500);

    const std::vector<std::int16_t> mix = wavSamples(dir + "/music.wav");
    // Root mean square of frames [from, to) of the game, at 735 stereo sample frames each.
    const auto level = [&](long from, long to) {
        double sum = 0;
        std::size_t n = 0;
        for (std::size_t i = 2 * 735 * from; i < 2 * 735 * static_cast<std::size_t>(to) && i < mix.size(); ++i, ++n)
            sum += double(mix[i]) * mix[i];
        return n ? std::sqrt(sum / n) : -1.0;
    };
    EXPECT_GT(level(100, 400), 1000.0) << "the first game's music";
    EXPECT_LT(level(clear + 30, staffRoll), 1.0) << "the clear";
    EXPECT_GT(level(nextPlay + 60, nextPlay + 400), 1000.0) << "the next game's music";
    std::filesystem::remove_all(dir);
}
