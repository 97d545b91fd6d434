// The autopilot plays a whole game on easy: from the title through the start
// hold, the waves, both bosses, the clear and the staff roll back to the
// title, read from its account on stderr (no trace: a frame's display group
// carries its device calls, far too much for thousands of frames).
#include <gtest/gtest.h>

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

}  // namespace

TEST(AutopilotEndToEnd, PlaysEasyFromTheTitleToTheStaffRollAndBack) {
    const GameRun run = autoplay({"--clock-start", "1000000000", "--frames", "10500"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // "autoplay: frame F: WHAT" lines, in order.
    std::vector<std::string> seen;
    std::vector<long> frames;
    std::istringstream in(run.err);
    for (std::string line; std::getline(in, line);) {
        const std::string head = "autoplay: frame ";
        if (line.rfind(head, 0) != 0) continue;
        const auto colon = line.find(": ", head.size());
        frames.push_back(std::stol(line.substr(head.size(), colon - head.size())));
        seen.push_back(line.substr(colon + 2));
    }
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
