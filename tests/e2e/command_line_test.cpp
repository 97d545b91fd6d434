// The command line: help, errors with exit code 2, bad scripts, and the play
// command on a machine without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/options.h"
#include "platform/settings/settings_file.h"
#include "support/run_game.h"

TEST(CommandLine, HelpListsEveryOption) {
    const GameRun run = runWithOptions({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"--headless", "--frames", "--assets", "--input", "--trace", "--clock-start",
                               "--ms-start", "--window", "--no-dialogs", "--lockstep", "--trace-groups", "--screenshot",
                               "--audio-out", "--start-tick", "--autoplay", "--record", "--replay", "--music-volume",
                               "--sound-volume", "--frame-times", "--config", "--no-config", "--keys", "--version", "--help"})
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

TEST(CommandLine, TheSettingsFileIsWrittenReadAndReportedAndTheCommandLineWins) {
    namespace fs = std::filesystem;
    const std::string dir = makeTempDir("settings");
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    auto run = [&](std::vector<std::string> args, const std::string& config, bool headless = false) {
        GameRunRequest r;
        r.headless = headless;
        r.trace = false;
        r.args = std::move(args);
        r.env = {"XDG_CONFIG_HOME=" + config};
        return runGame(r);
    };

    // The first run writes the defaults, and --keys shows them.
    GameRun keys = run({"--keys"}, dir + "/first");
    EXPECT_EQ(keys.exitCode, 0) << keys.err;
    EXPECT_EQ(slurp(dir + "/first/tervo/tervo.conf"), platform::settings::defaultText());
    EXPECT_NE(keys.out.find("Settings: " + dir + "/first/tervo/tervo.conf\n"), std::string::npos) << keys.out;
    EXPECT_NE(keys.out.find("  fire        Z\n"), std::string::npos) << keys.out;
    EXPECT_TRUE(keys.err.empty()) << keys.err;

    // A file with faults: each is reported by line, the rest applies, and
    // the file stays as it was.
    const std::string mine = dir + "/mine.conf";
    const std::string text = "music_volume = loud\n[keys]\nfire = Space\nmissile = space, Q\n[pad]\nfire = trigger\n";
    std::ofstream(mine) << text;
    keys = run({"--config", mine, "--keys"}, dir + "/unused");
    EXPECT_EQ(keys.exitCode, 0);
    EXPECT_NE(keys.err.find(mine + ":1: music_volume needs a whole number from 0 to 100, not 'loud'\n"),
              std::string::npos) << keys.err;
    EXPECT_NE(keys.err.find(mine + ":4: 'space' is already bound to fire; ignored for missile\n"), std::string::npos);
    EXPECT_NE(keys.err.find(mine + ":6: 'trigger' is not an SDL game controller button name"), std::string::npos);
    EXPECT_NE(keys.out.find("  fire        Space\n  missile     Q\n"), std::string::npos) << keys.out;
    EXPECT_EQ(slurp(mine), text);
    EXPECT_FALSE(fs::exists(dir + "/unused"));  // the user's file was not looked for

    // --no-config reads nothing; with --config it is a usage error.
    keys = run({"--no-config", "--keys"}, dir + "/none");
    EXPECT_NE(keys.out.find("Settings: none"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/none"));
    EXPECT_EQ(run({"--no-config", "--config", mine}, dir + "/none").exitCode, 2);

    // A headless run neither reads the user's file nor writes one.
    fs::create_directories(dir + "/bad/tervo");
    std::ofstream(dir + "/bad/tervo/tervo.conf") << "nonsense\n";
    GameRun headless = run({"--frames", "2"}, dir + "/bad", true);
    EXPECT_EQ(headless.exitCode, 0);
    EXPECT_EQ(headless.err.find("tervo.conf"), std::string::npos) << headless.err;
    EXPECT_EQ(run({"--frames", "2"}, dir + "/fresh", true).exitCode, 0);
    EXPECT_FALSE(fs::exists(dir + "/fresh"));

    // The command line is read over the file's values.
    Options base;
    base.musicVolume = 30;
    base.window = true;
    base.quality = Options::Quality::high;
    std::string error;
    const auto over = parseOptions({"--music-volume", "80", "--quality", "low"}, error, base);
    ASSERT_TRUE(over) << error;
    EXPECT_EQ(over->musicVolume, 80);
    EXPECT_EQ(over->quality, Options::Quality::low);
    EXPECT_TRUE(over->window);
    EXPECT_EQ(parseOptions({}, error, base)->musicVolume, 30);
    fs::remove_all(dir);
}
