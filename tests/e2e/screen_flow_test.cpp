// The screens end to end: the title, its menu and the start, the story and
// its timed pictures and sounds, read back from the trace of scripted
// headless runs. (Game over, the clear and the staff roll need a field that
// can be lost or won; they are driven in-process in the display tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "support/run_game.h"

namespace {

using testing_json::Value;
using Position = std::pair<int, int>;

GameRun play(int frames, const std::string& script, std::vector<std::string> extra = {},
             const char* groups = "input,display,device,audio") {
    GameRunRequest r;
    r.args = {"--frames", std::to_string(frames), "--trace-groups", groups};
    r.args.insert(r.args.end(), extra.begin(), extra.end());
    r.script = script;
    r.timeoutSeconds = 120;
    return runGame(r);
}

long long field(const Value& line, const char* name) { return line["display"][name].integer(); }

// Where the frame drew its sprite images (the translation of each transform).
std::set<Position> drawnAt(const Value& line) {
    std::set<Position> out;
    for (const auto& c : line["display"]["device"]["calls"].items)
        if (c["op"].str() == "Sprite.SetTransform")
            out.emplace(static_cast<int>(c["args"][12].num()), static_cast<int>(c["args"][13].num()));
    return out;
}

// The screen sounds the frame played, by entry.
std::vector<long long> sounds(const Value& line) {
    std::vector<long long> out;
    for (const auto& p : line["audio"]["played"].items) {
        EXPECT_EQ(p["owner"].str(), "Display");
        out.push_back(p["entry"].integer());
    }
    return out;
}

// The frame's music calls: "stopAll", "playTrack 0", ...
std::vector<std::string> music(const Value& line) {
    std::vector<std::string> out;
    for (const auto& m : line["audio"]["music"].items)
        out.push_back(m.has("t") ? m["call"].str() + " " + std::to_string(m["t"].integer()) : m["call"].str());
    return out;
}

using Strings = std::vector<std::string>;
using Entries = std::vector<long long>;

}  // namespace

TEST(ScreenFlowEndToEnd, ATitleLeftAloneTurnsIntoTheStoryWhichRunsItsCourse) {
    // The millisecond clock wraps 20 s into the story; X and C are pressed on
    // the title and in the story, and change nothing.
    const auto run = play(3400, "0-200 x\n201-400 c\n1000-1100 x\n1101-1200 c\n", {"--ms-start", "4294938945"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 3400u);
    const auto& trace = run.trace;
    EXPECT_EQ(trace[100]["input"]["action"].integer(), 10);
    EXPECT_EQ(trace[300]["input"]["action"].integer(), 11);

    // The title for 501 frames, easy chosen, its music started once.
    EXPECT_EQ(music(trace[0]), (Strings{"stopAll", "playTrack 0"}));
    for (int f = 0; f <= 500; ++f) {
        ASSERT_EQ(field(trace[f], "titleScreen"), 1) << f;
        ASSERT_EQ(field(trace[f], "storyScreen"), 0) << f;
        ASSERT_EQ(field(trace[f], "difficulty"), 0) << f;
        ASSERT_EQ(field(trace[f], "inGame"), 0) << f;
        ASSERT_EQ(field(trace[f], "idleFrames"), f + 1) << f;
        ASSERT_TRUE(sounds(trace[f]).empty()) << f;
        if (f > 0) {
            ASSERT_TRUE(music(trace[f]).empty()) << f;
        }
    }
    EXPECT_EQ(field(trace[501], "storyScreen"), 1);
    EXPECT_EQ(field(trace[501], "titleScreen"), 0);
    EXPECT_EQ(field(trace[501], "idleFrames"), 1);
    EXPECT_EQ(music(trace[501]), (Strings{"stopAll"}));

    // Each story frame sees t = (the time taken at the end of the frame before)
    // - (the story's start), in wrapping 32-bit milliseconds.
    auto t = [&](int f) {
        return static_cast<std::uint32_t>(field(trace[f - 1], "storyNow") - field(trace[f - 1], "storyStart"));
    };
    auto firstAfter = [&](std::uint32_t ms) {
        for (int f = 502; f < 3400; ++f)
            if (t(f) > ms) return f;
        return -1;
    };
    const int end = firstAfter(47000);
    ASSERT_GT(end, 0);
    EXPECT_NEAR(end, 502 + 47000 / (1000.0 / 60), 2);
    for (int f = 501; f < end; ++f) ASSERT_EQ(field(trace[f], "storyScreen"), 1) << f;

    // The timed sounds, each once at the first frame past its time.
    const std::vector<std::pair<long long, std::uint32_t>> cues = {
        {4, 1500}, {3, 3000}, {5, 3800}, {6, 13000}, {3, 14000}, {7, 15000}, {3, 23000}, {8, 24000}, {3, 33500}, {9, 33500}};
    std::vector<std::pair<int, long long>> expected, heard;
    for (const auto& [entry, ms] : cues) expected.emplace_back(firstAfter(ms), entry);
    for (int f = 501; f < end; ++f)
        for (auto entry : sounds(trace[f])) heard.emplace_back(f, entry);
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(music(trace[firstAfter(3800)]), (Strings{"playTrack 1"}));
    EXPECT_EQ(trace[end - 1]["display"]["storyCues"].size(), 10u);
    for (const auto& cue : trace[end - 1]["display"]["storyCues"].items) EXPECT_EQ(cue.integer(), 1);

    // The slides: 40 pixels a frame to rest at -60; the third and fourth
    // pictures come in from 1024.
    const int first = firstAfter(3000);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(field(trace[first + i], "storySlideA"), std::max(760 - 40 * i, -60)) << i;
    EXPECT_EQ(field(trace[firstAfter(14000)], "storySlideB"), 760);
    EXPECT_EQ(field(trace[firstAfter(23000)], "storySlideA"), 984);
    EXPECT_EQ(field(trace[firstAfter(23000)], "storySlideToggle"), 0);
    EXPECT_EQ(field(trace[firstAfter(33500)], "storySlideB"), 984);
    EXPECT_EQ(field(trace[firstAfter(33500)], "storySlideToggle"), 1);

    // Pictures and captions at a few moments.
    EXPECT_EQ(drawnAt(trace[firstAfter(2000)]), (std::set<Position>{{0, 0}, {350, 270}}));
    EXPECT_EQ(drawnAt(trace[firstAfter(10000)]), (std::set<Position>{{0, 0}, {-60, 0}, {160, 450}}));
    EXPECT_EQ(drawnAt(trace[firstAfter(14100)]), (std::set<Position>{{0, 0}, {field(trace[firstAfter(14100)], "storySlideB"), 0}}));
    EXPECT_EQ(drawnAt(trace[firstAfter(41000)]), (std::set<Position>{{0, 0}, {-60, 0}}));
    EXPECT_EQ(drawnAt(trace[firstAfter(45000)]), (std::set<Position>{{0, 0}}));

    // After 47 s: back to the title with normal chosen, the story reset.
    const auto& back = trace[end];
    EXPECT_EQ(field(back, "storyScreen"), 0);
    EXPECT_EQ(field(back, "titleScreen"), 1);
    EXPECT_EQ(field(back, "screenDelay"), 49);
    EXPECT_EQ(field(back, "difficulty"), 1);
    EXPECT_EQ(field(back, "storyStart"), 0);
    EXPECT_EQ(field(back, "storySlideA"), 800);
    EXPECT_EQ(field(back, "storySlideB"), 800);
    EXPECT_EQ(field(back, "storySlideToggle"), 1);
    for (const auto& cue : back["display"]["storyCues"].items) EXPECT_EQ(cue.integer(), 0);
    EXPECT_EQ(music(back), (Strings{"stopAll"}));
    EXPECT_EQ(music(trace[end + 1]), (Strings{"stopAll", "playTrack 0"}));
    EXPECT_TRUE(drawnAt(trace[end + 1]).count({496, 420}) == 0 && drawnAt(trace[end + 1]).count({500, 420}) == 1);
}

TEST(ScreenFlowEndToEnd, AShotInTheStoryEndsItAndTheTitleWaitsFiftyFramesBeforeTakingOne) {
    const auto run = play(700, "600-660 z\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& trace = run.trace;
    ASSERT_EQ(field(trace[599], "storyScreen"), 1);
    EXPECT_EQ(field(trace[600], "storyScreen"), 0);
    EXPECT_EQ(field(trace[600], "titleScreen"), 1);
    EXPECT_EQ(field(trace[600], "screenDelay"), 49);
    for (int f = 600; f < 650; ++f) {
        ASSERT_EQ(field(trace[f], "inGame"), 0) << f;
        ASSERT_TRUE(sounds(trace[f]).empty()) << f;
    }
    EXPECT_EQ(field(trace[650], "inGame"), 1);
    EXPECT_EQ(sounds(trace[650]), (Entries{11}));
    EXPECT_EQ(field(trace[650], "difficulty"), 1);
}

TEST(ScreenFlowEndToEnd, TheMenuMovesOneStepEverySixFramesAndDiagonalsMoveNothing) {
    const auto run = play(90, "0-17 down\n30-49 up\n60-70 up right\n71-80 down left\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& trace = run.trace;
    auto difficulty = [&](int f) { return field(trace[f], "difficulty"); };
    auto delay = [&](int f) { return field(trace[f], "menuRepeatDelay"); };
    // Held down: easy -> normal at once, hard 6 frames later; pushing down on
    // hard restarts the delay all the same.
    EXPECT_EQ(difficulty(0), 1);
    EXPECT_EQ(delay(0), 5);
    EXPECT_EQ(difficulty(5), 1);
    EXPECT_EQ(delay(5), 0);
    EXPECT_EQ(difficulty(6), 2);
    EXPECT_EQ(delay(6), 5);
    EXPECT_EQ(delay(11), 0);
    EXPECT_EQ(delay(12), 5);
    EXPECT_EQ(delay(18), 0);  // released at 18
    EXPECT_EQ(difficulty(29), 2);
    // Held up: hard -> normal -> easy, then up on easy restarts the delay.
    EXPECT_EQ(difficulty(30), 1);
    EXPECT_EQ(difficulty(35), 1);
    EXPECT_EQ(difficulty(36), 0);
    EXPECT_EQ(delay(41), 0);
    EXPECT_EQ(delay(42), 5);
    EXPECT_EQ(delay(48), 5);
    EXPECT_EQ(delay(53), 0);
    // Diagonals: nothing moves and no delay starts.
    for (int f = 60; f <= 80; ++f) {
        ASSERT_GE(trace[f]["input"]["direction"].integer(), 6) << f;
        ASSERT_EQ(difficulty(f), 0) << f;
        ASSERT_EQ(delay(f), 0) << f;
    }
    // The menu's pictures follow the choice, the frame after it is made:
    // "normal" sits at x 496 unless it is chosen, the descriptions under it.
    EXPECT_EQ(drawnAt(trace[0]), (std::set<Position>{{0, -14}, {500, 370}, {496, 420}, {500, 470}, {300, 520}}));
    EXPECT_EQ(drawnAt(trace[3]), (std::set<Position>{{0, -14}, {500, 370}, {500, 420}, {500, 470}, {300, 520}}));
    EXPECT_EQ(drawnAt(trace[20]), (std::set<Position>{{0, -14}, {500, 370}, {496, 420}, {500, 470}, {440, 520}}));
    for (const auto& line : trace) ASSERT_EQ(field(line, "inGame"), 0);
}

TEST(ScreenFlowEndToEnd, AStartHoldsTheTitleFiftyFramesThenPlayRunsOnWithItsMusic) {
    // A practice start past every wave and boss keeps the field empty, so
    // nothing can end the game and the 5010 frames' traces stay small; the
    // screens run as in any game.
    const auto run = play(51, "0 z\n", {"--start-tick", "6000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& trace = run.trace;
    EXPECT_EQ(field(trace[0], "inGame"), 1);
    EXPECT_EQ(field(trace[0], "difficulty"), 0);  // the first title chooses easy
    EXPECT_EQ(sounds(trace[0]), (Entries{11}));
    EXPECT_EQ(music(trace[0]), (Strings{"stopAll", "playTrack 0"}));
    for (int f = 1; f < 50; ++f) {
        ASSERT_EQ(field(trace[f], "titleScreen"), 1) << f;
        ASSERT_EQ(field(trace[f], "screenDelay"), 49 - f) << f;
        ASSERT_EQ(drawnAt(trace[f]).count({0, -14}), 1u) << f;
        ASSERT_TRUE(music(trace[f]).empty()) << f;
    }
    EXPECT_EQ(field(trace[50], "titleScreen"), 0);
    EXPECT_EQ(field(trace[50], "gameMusicOn"), 1);
    EXPECT_EQ(music(trace[50]), (Strings{"stopAll", "playTrack 2"}));
    EXPECT_EQ(drawnAt(trace[50]).count({0, -14}), 0u);  // no title picture
    // Play goes on (nothing in the field can end it): no more music, no
    // story, and the idle count wraps after 5001. The same run again,
    // longer and without the device calls, which only the hold needed.
    const auto longRun = play(5010, "0 z\n", {"--start-tick", "6000"}, "display,audio");
    ASSERT_EQ(longRun.exitCode, 0) << longRun.err;
    const auto& rest = longRun.trace;
    EXPECT_EQ(field(rest[50], "gameMusicOn"), 1);
    long long most = 0;
    for (std::size_t f = 51; f < rest.size(); ++f) {
        ASSERT_TRUE(music(rest[f]).empty()) << f;
        ASSERT_EQ(field(rest[f], "titleScreen"), 0) << f;
        most = std::max(most, field(rest[f], "idleFrames"));
    }
    EXPECT_EQ(most, 5001);
    EXPECT_EQ(field(rest[5000], "idleFrames"), 5001);
    EXPECT_EQ(field(rest[5001], "idleFrames"), 1);
}
