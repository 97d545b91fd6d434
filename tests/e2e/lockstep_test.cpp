// Lockstep runs end to end (the game played line by line through pipes,
// checked against the same input given as a script) and the trace groups
// that --trace-groups keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "support/lockstep_game.h"
#include "support/run_game.h"

namespace fs = std::filesystem;
using testing_json::Value;

namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The raw trace lines of a scripted run of `frames` frames.
std::vector<std::string> scriptedTrace(const std::string& script, int frames,
                                       std::vector<std::string> extra = {}) {
    const std::string dir = makeTempDir("script");
    GameRunRequest r;
    r.script = script;
    r.trace = false;
    r.args = {"--frames", std::to_string(frames), "--trace", dir + "/trace.jsonl"};
    r.args.insert(r.args.end(), extra.begin(), extra.end());
    const auto run = runGame(r);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    auto lines = readLines(dir + "/trace.jsonl");
    fs::remove_all(dir);
    return lines;
}

std::set<std::string> memberNames(const Value& v) {
    std::set<std::string> names;
    for (const auto& [name, member] : v.members) names.insert(name);
    return names;
}

bool sameValue(const Value& a, const Value& b) {
    if (a.kind != b.kind || a.boolean != b.boolean || a.text != b.text || a.items.size() != b.items.size() ||
        memberNames(a) != memberNames(b))
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!sameValue(a.items[i], b.items[i])) return false;
    for (const auto& [name, member] : a.members)
        if (!sameValue(member, b[name])) return false;
    return true;
}

// What is held during frame f of the long run below.
std::string tokensAt(int f) {
    std::string t;
    auto hold = [&](bool on, const char* token) {
        if (on) t += std::string(t.empty() ? "" : " ") + token;
    };
    hold(f < 120 || (f >= 200 && f < 260), "z");
    hold(f >= 30 && f < 90, "up");
    hold(f >= 150 && f < 210, "down");
    hold(f >= 100 && f < 140, "left");
    hold(f >= 240 && f < 280, "right");
    hold(f == 60 || f == 61 || f == 180, "x");
    hold(f >= 220 && f < 226, "c");
    return t;
}

}  // namespace

TEST(Lockstep, PlayedLineByLineItMatchesTheSameInputAsAScript) {
    constexpr int frames = 300;
    std::string script;
    for (int f = 0; f < frames; ++f)
        if (!tokensAt(f).empty()) script += std::to_string(f) + " " + tokensAt(f) + "\n";
    const auto expected = scriptedTrace(script, frames);
    ASSERT_EQ(expected.size(), std::size_t{frames});
    // The input really varies over the run, so matching it means something.
    std::set<long long> directions, actions;
    for (const auto& line : expected) {
        directions.insert(testing_json::parse(line)["input"]["direction"].integer());
        actions.insert(testing_json::parse(line)["input"]["action"].integer());
    }
    EXPECT_GE(directions.size(), 3u);
    EXPECT_GE(actions.size(), 3u);

    const std::string dir = makeTempDir("lockstep");
    LockstepGame game({"--trace", dir + "/trace.jsonl"});
    for (int f = 0; f < frames; ++f) {
        const auto answer = game.step(tokensAt(f));
        ASSERT_TRUE(answer) << "no answer for frame " << f;
        ASSERT_EQ(*answer, expected[f]) << "frame " << f;
    }
    const auto end = game.finish();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_TRUE(end.lines.empty());
    // The trace file gets the same lines.
    EXPECT_EQ(readLines(dir + "/trace.jsonl"), expected);
    fs::remove_all(dir);
}

TEST(Lockstep, AJoystickOnTheFirstLineIsUsedAsInAScript) {
    const auto expected =
        scriptedTrace("0 joy:1000,1000,b3\n1 up z\n2 joy:-1000,0,b2\n3 joy:900,0\n", 4);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(testing_json::parse(expected[0])["controlMode"].integer(), 1);
    LockstepGame game({});
    const char* lines[] = {"joy:1000,1000,b3", "up z", "joy:-1000,0,b2", "joy:900,0"};
    for (int f = 0; f < 4; ++f) EXPECT_EQ(game.step(lines[f]), expected[f]) << "frame " << f;
    EXPECT_EQ(game.finish().exitCode, 0);
}

TEST(Lockstep, ALineThatCannotRunAFrameIsAnsweredWhileTheGameWaits) {
    constexpr int frames = 60;
    const auto expected =
        scriptedTrace("0-59 z\n20 focus-lost\n21 focus-gained\n40 minimize\n41 restore\n", frames);
    ASSERT_EQ(expected.size(), std::size_t{frames});

    LockstepGame game({});
    for (int f = 0; f < frames; ++f) {
        if (f == 20 || f == 40) {
            const auto waiting = game.step(f == 20 ? "z focus-lost" : "z minimize");
            ASSERT_TRUE(waiting);
            const Value w = testing_json::parse(*waiting);
            EXPECT_EQ(w["waiting"].str(), f == 20 ? "focus" : "minimized");
            EXPECT_FALSE(w.has("frame"));
            // The answer comes after 100 ms of waiting.
            EXPECT_GE(w["ms"].integer(), testing_json::parse(expected[f - 1])["ms"].integer() + 100);
            EXPECT_GT(w["pass"].integer(), testing_json::parse(expected[f - 1])["pass"].integer());
        }
        const std::string line = f == 20 ? "z focus-gained" : f == 40 ? "z restore" : "z";
        ASSERT_EQ(game.step(line), expected[f]) << "frame " << f;
    }
    EXPECT_EQ(game.finish().exitCode, 0);
}

TEST(Lockstep, TheEndOfInputEndsTheRunAfterOneFramePerLine) {
    {
        LockstepGame game({"--trace-groups", "input"});
        std::vector<std::string> sent = {"", "z", "up left", "  # a comment holds nothing", "\t", "x c"};
        for (int i = 0; i < 31; ++i) sent.push_back(i % 2 ? "down" : "");
        for (const auto& line : sent) ASSERT_TRUE(game.send(line));
        const auto end = game.finish();
        EXPECT_EQ(end.exitCode, 0) << end.err;
        ASSERT_EQ(end.lines.size(), sent.size());
        for (std::size_t i = 0; i < end.lines.size(); ++i) {
            const Value v = testing_json::parse(end.lines[i]);
            EXPECT_EQ(v["frame"].integer(), static_cast<long long>(i));
            EXPECT_EQ(memberNames(v), (std::set<std::string>{"frame", "pass", "ms", "input"}));
        }
    }
    {
        LockstepGame game({});  // no line at all
        const auto end = game.finish();
        EXPECT_EQ(end.exitCode, 0) << end.err;
        EXPECT_TRUE(end.lines.empty());
    }
    {
        LockstepGame game({"--frames", "10"});  // the frame limit still ends it
        for (int i = 0; i < 20; ++i) ASSERT_TRUE(game.send("z"));
        const auto end = game.finish();
        EXPECT_EQ(end.exitCode, 0) << end.err;
        EXPECT_EQ(end.lines.size(), 10u);
    }
}

TEST(Lockstep, ALineThatEndsTheGameGetsNoAnswer) {
    for (const char* event : {"close", "escape", "rbutton", "destroy"}) {
        LockstepGame game({});
        for (int f = 0; f < 3; ++f) ASSERT_TRUE(game.step("up")) << event;
        ASSERT_TRUE(game.send(std::string("z ") + event));
        EXPECT_FALSE(game.readLine()) << event;
        const auto end = game.finish();
        EXPECT_EQ(end.exitCode, 0) << event << ": " << end.err;
        EXPECT_FALSE(end.timedOut) << event;
    }
}

TEST(Lockstep, ABadLineEndsTheRunWithExitCode2NamingIt) {
    struct Case {
        std::vector<std::string> lines;
        std::string named;
    };
    const Case cases[] = {
        {{"z", "up", "", "down x", "left", "z jump"}, "'jump'"},
        {{"z", "joy:0,0"}, "joy:"},  // no joystick was attached by the first line
        {{"joy:0,2000"}, "-1000 to 1000"},
    };
    for (const auto& c : cases) {
        LockstepGame game({});
        for (std::size_t i = 0; i + 1 < c.lines.size(); ++i) ASSERT_TRUE(game.step(c.lines[i]));
        ASSERT_TRUE(game.send(c.lines.back()));
        const auto end = game.finish();
        EXPECT_EQ(end.exitCode, 2) << c.lines.back();
        EXPECT_TRUE(end.lines.empty());
        EXPECT_NE(end.err.find("line " + std::to_string(c.lines.size())), std::string::npos) << end.err;
        EXPECT_NE(end.err.find(c.named), std::string::npos) << end.err;
        EXPECT_NE(end.err.find(c.lines.back()), std::string::npos) << end.err;
    }
}

TEST(Lockstep, NeedsHeadlessAndCannotTakeAScript) {
    GameRun run = runWithOptions({"--lockstep"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--lockstep needs --headless"), std::string::npos) << run.err;

    GameRunRequest scripted;
    scripted.script = "0 z\n";
    scripted.args = {"--lockstep"};
    run = runGame(scripted);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--input"), std::string::npos) << run.err;
}

TEST(TraceGroups, KeepExactlyTheNamedMembersAsTheyAre) {
    const std::string script = "0-7 z up\n3 lbutton\n";
    const auto full = scriptedTrace(script, 8);
    ASSERT_EQ(full.size(), 8u);
    const std::set<std::string> always = {"frame", "pass", "ms"};
    const std::vector<std::string> lists = {"input", "controlMode", "rate", "boxes", "display,device", "audio",
                                            "", "rate,world,player,display,device"};
    for (const auto& list : lists) {
        std::set<std::string> named = always;
        for (std::size_t start = 0; start <= list.size() && !list.empty();) {
            const auto comma = list.find(',', start);
            named.insert(list.substr(start, comma - start));
            start = comma == std::string::npos ? list.size() + 1 : comma + 1;
        }
        const auto kept = scriptedTrace(script, 8, {"--trace-groups", list});
        ASSERT_EQ(kept.size(), full.size()) << list;
        for (std::size_t i = 0; i < full.size(); ++i) {
            const Value all = testing_json::parse(full[i]), some = testing_json::parse(kept[i]);
            std::set<std::string> expected;
            for (const auto& name : memberNames(all))
                if (named.count(name)) expected.insert(name);
            EXPECT_EQ(memberNames(some), expected) << list;
            for (const auto& name : expected) EXPECT_TRUE(sameValue(some[name], all[name])) << list << ": " << name;
        }
        // Each group written today is there when named alone.
        if (!list.empty() && list.find(',') == std::string::npos) {
            EXPECT_EQ(memberNames(testing_json::parse(kept[0])).size(), 4u) << list;
        }
    }
    // The display without its device calls: the same but for them.
    const auto screens = scriptedTrace(script, 8, {"--trace-groups", "display"});
    ASSERT_EQ(screens.size(), full.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        const Value all = testing_json::parse(full[i])["display"], some = testing_json::parse(screens[i])["display"];
        std::set<std::string> expected = memberNames(all);
        ASSERT_EQ(expected.erase("device"), 1u);
        EXPECT_EQ(memberNames(some), expected);
        for (const auto& name : expected) EXPECT_TRUE(sameValue(some[name], all[name])) << name;
    }
}

TEST(TraceGroups, AnUnknownNameOrNoTraceIsAUsageError) {
    for (const char* list : {"input,warp", "Input", "input,", "display.device"}) {
        GameRunRequest r;
        r.args = {"--frames", "1", "--trace-groups", list};
        const auto run = runGame(r);
        EXPECT_EQ(run.exitCode, 2) << list;
        EXPECT_NE(run.err.find("unknown group"), std::string::npos) << run.err;
        EXPECT_TRUE(run.trace.empty()) << list;
    }
    GameRunRequest untraced;
    untraced.trace = false;
    untraced.args = {"--frames", "1", "--trace-groups", "input"};
    const auto run = runGame(untraced);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--trace-groups needs"), std::string::npos) << run.err;
}

// The writer's filter on its own: members of any shape are taken back
// whole, and the separators stay right whichever member is dropped.
