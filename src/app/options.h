// Options: the command line of the game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Options {
    bool help = false;
    bool version = false;
    bool headless = false;
    bool window = false;     // a resizable window instead of full screen
    std::int32_t windowWidth = 1024;  // the window's size (settings file only)
    std::int32_t windowHeight = 768;
    std::string config;      // the settings file to read instead of the user's
    bool noConfig = false;   // read no settings file
    bool keys = false;       // print the bindings in use and exit
    bool dialogs = true;     // message boxes on screen as well as on stderr
    std::optional<std::uint64_t> frames;
    std::string assets;      // working directory for the game's files
    std::string input;       // scripted input (headless)
    std::string trace;       // JSON Lines trace
    bool lockstep = false;   // headless input line by line on stdin, answers on stdout
    std::optional<std::vector<std::string>> traceGroups;  // nothing: every group
    std::string audioOut;    // WAV file of the headless mix
    std::int64_t clockStart = 1000000000;  // headless calendar time, seconds
    std::uint32_t msStart = 0;             // headless millisecond clock at start
    std::int32_t startTick = 0;            // practice: the stage clock at every game's start
    std::vector<std::pair<std::uint64_t, std::string>> screenshots;  // frame, PNG file
    bool autoplay = false;            // the computer plays
    std::int32_t autoplayDifficulty = 0;  // 0 easy, 1 normal, 2 hard
    std::string frameTimes;  // each frame's time (headless: every frame drawn with GL)
    std::string record;      // write a replay of the run here
    std::string replay;      // play this replay back
    std::int32_t musicVolume = 100;  // percent, applied in the mixer
    std::int32_t soundVolume = 100;
    // Picture quality in a window: chosen from the renderer unless given.
    enum class Quality { automatic, low, high };
    Quality quality = Quality::automatic;
};

// Parses argv over `base` (what the settings file set); on an error returns
// nothing and sets `error`.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error,
                                    const Options& base = Options{});

// The text of --help.
std::string usageText();
// The line --version prints: "tervo 0.1.0".
std::string versionText();
