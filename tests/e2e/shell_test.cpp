// The game shell end to end: the binary run headless with scripted input,
// read back through its trace.
#include <gtest/gtest.h>

#include "support/run_game.h"

namespace {

GameRun headless(const std::string& script, std::vector<std::string> args = {}) {
    GameRunRequest r;
    r.script = script;
    r.args = std::move(args);
    return runGame(r);
}

std::vector<long long> column(const GameRun& run, const std::string& key) {
    std::vector<long long> out;
    for (const auto& line : run.trace) out.push_back(line[key].integer());
    return out;
}

}  // namespace

TEST(Shell, RunsExactlyTheRequestedFramesOnTheVirtualClock) {
    auto run = headless("", {"--frames", "120"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 120u);
    const auto frames = column(run, "frame");
    for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i], static_cast<long long>(i));
    // Each frame is presented at the next 1/60 s boundary.
    const auto ms = column(run, "ms");
    EXPECT_EQ(ms[0], 16);
    EXPECT_EQ(ms[59], 1000);
    EXPECT_EQ(ms[119], 2000);
    // The readout gets the pass count of each second: about 60 here.
    EXPECT_EQ(run.trace[0]["rate"].integer(), 0);
    EXPECT_GE(run.trace[119]["rate"].integer(), 60);
    EXPECT_LE(run.trace[119]["rate"].integer(), 62);
    EXPECT_EQ(run.trace[0]["controlMode"].integer(), 0);
}

TEST(Shell, RunsRepeatBitForBit) {
    const std::string script = "0-30 up z\n31-50 left x\n40 focus-lost\n41 focus-gained\n";
    auto a = headless(script, {"--frames", "80"});
    auto b = headless(script, {"--frames", "80"});
    ASSERT_EQ(a.trace.size(), 80u);
    ASSERT_EQ(a.trace.size(), b.trace.size());
    for (std::size_t i = 0; i < a.trace.size(); ++i) {
        EXPECT_EQ(a.trace[i]["ms"].integer(), b.trace[i]["ms"].integer());
        EXPECT_EQ(a.trace[i]["pass"].integer(), b.trace[i]["pass"].integer());
    }
}

TEST(Shell, KeyboardCodesFollowTheScript) {
    auto run = headless("0-1 up right\n2 down left z\n3 x c\n", {"--frames", "5"});
    ASSERT_EQ(run.trace.size(), 5u);
    auto codes = [&](int f) {
        return std::pair(run.trace[f]["input"]["direction"].integer(), run.trace[f]["input"]["action"].integer());
    };
    EXPECT_EQ(codes(0), std::pair(6LL, 0LL));
    EXPECT_EQ(codes(1), std::pair(6LL, 0LL));
    EXPECT_EQ(codes(2), std::pair(9LL, 5LL));
    EXPECT_EQ(codes(3), std::pair(0LL, 11LL));
    EXPECT_EQ(codes(4), std::pair(0LL, 0LL));
}

TEST(Shell, AJoystickAtStartUpReplacesTheKeyboardForTheWholeRun) {
    auto run = headless("0 joy:1000,1000,b3\n1 up z\n2 joy:-1000,0,b2\n3 joy:900,0\n", {"--frames", "4"});
    ASSERT_EQ(run.trace.size(), 4u);
    EXPECT_EQ(run.trace[0]["controlMode"].integer(), 1);
    EXPECT_EQ(run.trace[0]["input"]["direction"].integer(), 8);
    EXPECT_EQ(run.trace[0]["input"]["action"].integer(), 5);
    EXPECT_EQ(run.trace[1]["input"]["direction"].integer(), 0);  // keys are not read
    EXPECT_EQ(run.trace[1]["input"]["action"].integer(), 0);
    EXPECT_EQ(run.trace[2]["input"]["direction"].integer(), 4);
    EXPECT_EQ(run.trace[2]["input"]["action"].integer(), 10);
    EXPECT_EQ(run.trace[3]["input"]["direction"].integer(), 0);  // 90 % is nothing
}

TEST(Shell, EscapeRightButtonCloseAndDestroyEndTheRun) {
    for (const char* event : {"escape", "rbutton", "close", "destroy"}) {
        auto run = headless(std::string("10 ") + event + "\n", {"--frames", "100"});
        EXPECT_EQ(run.exitCode, 0) << event << ": " << run.err;
        EXPECT_EQ(run.trace.size(), 10u) << event;
    }
    // The left button and other messages do not.
    auto run = headless("10 lbutton\n", {"--frames", "30"});
    EXPECT_EQ(run.trace.size(), 30u);
}

TEST(Shell, NoFrameRunsWithoutTheFocusAndFramesResumeWhereTheyStopped) {
    auto run = headless("20 focus-lost\n25 focus-gained\n", {"--frames", "40"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 40u);
    // Frame 20 runs only after the focus returns, 100 ms of virtual time
    // later; the passes in between only dispatched messages.
    const long long gap = run.trace[20]["ms"].integer() - run.trace[19]["ms"].integer();
    EXPECT_GE(gap, 100);
    EXPECT_LT(gap, 140);
    EXPECT_GT(run.trace[20]["pass"].integer() - run.trace[19]["pass"].integer(), 1);
}

TEST(Shell, AQuitWhileUnfocusedStillEndsTheLoop) {
    auto run = headless("5 focus-lost\n6 close\n", {"--frames", "50"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.trace.size(), 5u);
}

TEST(Shell, NoFrameRunsWhileMinimisedEvenWithTheFocus) {
    auto run = headless("10 minimize\n11 restore\n", {"--frames", "20"});
    ASSERT_EQ(run.trace.size(), 20u);
    const long long gap = run.trace[10]["ms"].integer() - run.trace[9]["ms"].integer();
    EXPECT_GE(gap, 100);
    // While minimised the loop kept passing (sleeping 1 or 2 ms each time).
    EXPECT_GT(run.trace[10]["pass"].integer() - run.trace[9]["pass"].integer(), 30);
}

TEST(Shell, AScriptThatCanNeverRunAnotherFrameEnds) {
    auto run = headless("3 focus-lost\n", {"--frames", "50"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.trace.size(), 3u);
    EXPECT_NE(run.err.find("no more events"), std::string::npos);
}

TEST(Shell, MillisecondClockWrapsAndCalendarStartIsTaken) {
    auto run = headless("", {"--frames", "10", "--ms-start", "4294967250"});
    ASSERT_EQ(run.trace.size(), 10u);
    EXPECT_GT(run.trace[0]["ms"].integer(), 4294967250LL);
    EXPECT_LT(run.trace[9]["ms"].integer(), 200);  // wrapped past 2^32
}
