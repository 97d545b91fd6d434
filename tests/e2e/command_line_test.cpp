// The command line: help, errors with exit code 2, bad scripts, and the play
// command on a machine without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/run_game.h"

TEST(CommandLine, HelpListsEveryOption) {
    const GameRun run = runWithOptions({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"--headless", "--frames", "--assets", "--input", "--trace", "--clock-start",
                               "--ms-start", "--window", "--no-dialogs", "--lockstep", "--trace-groups", "--screenshot",
                               "--audio-out", "--start-tick", "--autoplay", "--record", "--replay", "--music-volume",
                               "--sound-volume", "--frame-times", "--version", "--help"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(CommandLine, VersionIsTheProjectsOwn) {
    std::ifstream cmake(std::string(TERVO_SOURCE_DIR) + "/CMakeLists.txt");
    std::stringstream text;
    text << cmake.rdbuf();
    std::smatch m;
    const std::string lists = text.str();
    ASSERT_TRUE(std::regex_search(lists, m, std::regex(R"(project\(tervo VERSION ([0-9.]+))")));
    const GameRun run = runWithOptions({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "tervo " + m[1].str() + "\n");
}

TEST(CommandLine, UnknownOptionsAndBadValuesAreUsageErrors) {
    for (std::vector<std::string> args : {std::vector<std::string>{"--fly"}, {"--frames"}, {"--frames", "ten"},
                                          {"--clock-start", "x"}, {"--input", "/nonexistent/script"}}) {
        GameRunRequest r;
        r.trace = false;
        r.args = args;
        auto run = runGame(r);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_NE(run.err.find("tervo:"), std::string::npos) << args[0];
    }
}

TEST(CommandLine, ABadScriptLineStopsBeforeAnythingRuns) {
    GameRunRequest r;
    r.script = "0 up\n1 up\n# fine so far\n7 warp\n";
    auto run = runGame(r);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << run.err;
    EXPECT_TRUE(run.trace.empty());
}

TEST(CommandLine, PlayingWithoutADisplaySaysSoInOneLine) {
    // No display named, and displays named that are not there (SDL would
    // otherwise fall back to drawing off screen, unseen, for ever).
    const std::string runtime = makeTempDir("runtime");
    const struct {
        std::vector<std::string> env;
        std::string says;
    } cases[] = {
        {{"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}, "no display found"},
        {{"DISPLAY=:55", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}, "tried x11 on DISPLAY=:55"},
        {{"DISPLAY=", "WAYLAND_DISPLAY=tervo-no-such-socket", "XDG_RUNTIME_DIR=" + runtime, "SDL_VIDEODRIVER="},
         "tried wayland on WAYLAND_DISPLAY=tervo-no-such-socket"},
    };
    for (const auto& c : cases) {
        GameRunRequest r;
        r.headless = false;
        r.trace = false;
        r.args = {"--window", "--frames", "5"};
        r.env = c.env;
        r.timeoutSeconds = 10;
        auto run = runGame(r);
        EXPECT_EQ(run.exitCode, 1) << c.says;
        EXPECT_FALSE(run.timedOut) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--headless"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    std::filesystem::remove_all(runtime);
}

TEST(CommandLine, OutputFilesAreRelativeToWhereTheGameWasStarted) {
    // The game works inside its asset folder; the files it is told to write
    // still land where the user started it.
    const std::string dir = makeTempDir("relative");
    const std::string command = "cd '" + dir + "' && '" + TERVO_BINARY +
                                "' --headless --frames 3 --trace trace.jsonl --audio-out mix.wav"
                                " --screenshot 1:shot.png >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* file : {"trace.jsonl", "mix.wav", "shot.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + file)) << file;
    std::filesystem::remove_all(dir);
}
