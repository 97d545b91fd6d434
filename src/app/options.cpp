#include "app/options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <utility>

#include "app/harness.h"

namespace {

template <typename T>
bool parseNumber(const std::string& s, T& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

bool knownGroup(std::string_view name) {
    auto in = [&](const auto& names) { return std::find(names.begin(), names.end(), name) != names.end(); };
    return in(traceGroupNames) || in(traceAlwaysWritten);
}

// "a,b,c" (empty: no group). Every name must be a trace group.
bool parseGroups(const std::string& list, std::vector<std::string>& out, std::string& error) {
    out.clear();
    if (list.empty()) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma - start);
        if (!knownGroup(name)) {
            error = "--trace-groups: unknown group '" + name + "' (the groups are";
            for (auto g : traceGroupNames) error += ' ' + std::string(g);
            error += ')';
            return false;
        }
        out.push_back(std::move(name));
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

std::string usageText() {
    return "Usage: tervo [OPTION]...\n"
           "TERVO, a 3D shoot-'em-up. Arrow keys steer, Z fires, X launches a missile;\n"
           "P pauses; F5/F6 and F7/F8 step the music and sound volumes; Escape, the right\n"
           "mouse button or closing the window quits. A game controller steers with its\n"
           "left stick or D-pad, fires with A (south), launches with B (east), pauses\n"
           "with start; it can be plugged in or pulled out while playing.\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/tervo/tervo.conf (else ~/.config/tervo/tervo.conf),\n"
           "written with the defaults and comments on the first run: volumes, full\n"
           "screen, window size, quality, and [keys] and [pad] sections that bind each\n"
           "action to SDL key names ('fire = Z, Space') or pad buttons ('fire = a, x');\n"
           "'mappings = FILE' in [pad] adds SDL controller mappings. The command line\n"
           "overrides the file; volumes, full screen and window size changed while\n"
           "playing are saved when the game ends. Headless runs and replays read it\n"
           "only with --config.\n"
           "\n"
           "  --window              play in a resizable window (Alt+Enter toggles)\n"
           "  --config FILE         read the settings from FILE instead\n"
           "  --no-config           read no settings file\n"
           "  --keys                print the keys and pad buttons in use, and exit\n"
           "  --assets DIR          folder holding the game's t/ x/ w/ o/ files\n"
           "                        (default: the pack next to the binary or installed with it)\n"
           "  --no-dialogs          show message boxes on stderr only\n"
           "  --frames N            end the run after N frames (exit code 0, or 1 after a\n"
           "                        file failed to load)\n"
           "  --trace FILE          write one JSON object per frame to FILE (JSON Lines)\n"
           "  --trace-groups LIST   write only these groups of each trace object, comma-\n"
           "                        separated: input controlMode rate boxes display device\n"
           "                        audio world player (frame, pass and ms are always\n"
           "                        written; device: the display's device calls)\n"
           "  --headless            run with no window, display or audio device, on a\n"
           "                        virtual clock that advances 1/60 s per frame\n"
           "  --input FILE          scripted input for --headless: lines 'FRAME[-FRAME] TOKEN...'\n"
           "                        tokens: up down left right z x c, joy:X,Y[,bN...],\n"
           "                        focus-lost focus-gained minimize restore close destroy\n"
           "                        escape rbutton lbutton pause; '#' starts a comment\n"
           "  --lockstep            for --headless: before each frame read one line of those\n"
           "                        tokens from standard input, and after it write the\n"
           "                        frame's trace object as one line on standard output;\n"
           "                        the end of input ends the run\n"
           "  --screenshot FRAME:FILE.png  write the 800x600 picture of that frame (repeatable;\n"
           "                        headless runs then render with OpenGL off screen)\n"
           "  --audio-out FILE.wav  write what a --headless run played (44.1 kHz stereo)\n"
           "  --start-tick N        practice: every game starts with the stage clock at N\n"
           "                        (waves whose time has passed never come; 4490: the bosses)\n"
           "  --clock-start SECONDS headless calendar time at start (default 1000000000)\n"
           "  --ms-start MS         headless millisecond clock at start (default 0)\n"
           "  --autoplay            the computer plays: from the title it starts games and\n"
           "                        plays them, again after each game over (also in a window)\n"
           "  --autoplay-difficulty easy|normal|hard  what --autoplay picks on the title\n"
           "                        (default easy)\n"
           "  --record FILE         write a replay of the run to FILE\n"
           "  --replay FILE         play a replay back (in a window, or with --headless);\n"
           "                        the run ends where the recorded one ended\n"
           "  --music-volume N      music volume, 0 to 100 percent (default 100)\n"
           "  --sound-volume N      sound effects volume, 0 to 100 percent (default 100)\n"
           "  --quality low|high|auto  picture quality: low draws 800x600 without multisampling\n"
           "                        and scales it up, high multisamples at the window's size;\n"
           "                        auto (the default) takes low on a software renderer\n"
           "  --frame-times FILE    benchmark: write each frame's wall time in ms and its\n"
           "                        draw calls to FILE (headless runs then draw every\n"
           "                        frame with OpenGL off screen)\n"
           "  --version             print the version and exit\n"
           "  --help                show this text\n";
}

std::string versionText() { return "tervo " TERVO_VERSION "\n"; }

// Options whose value is a file or a folder, taken as given.
constexpr std::pair<std::string_view, std::string Options::*> kPathOptions[] = {
    {"--assets", &Options::assets},       {"--input", &Options::input},   {"--audio-out", &Options::audioOut},
    {"--trace", &Options::trace},         {"--record", &Options::record}, {"--replay", &Options::replay},
    {"--frame-times", &Options::frameTimes}, {"--config", &Options::config}};

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error, const Options& base) {
    Options o = base;
    bool difficultyGiven = false;
    bool startTickGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        const auto path = std::find_if(std::begin(kPathOptions), std::end(kPathOptions),
                                       [&](const auto& option) { return option.first == a; });
        if (path != std::end(kPathOptions)) {
            if (!value(o.*(path->second))) return std::nullopt;
            continue;
        }
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--window") {
            o.window = true;
        } else if (a == "--no-config") {
            o.noConfig = true;
        } else if (a == "--keys") {
            o.keys = true;
        } else if (a == "--no-dialogs") {
            o.dialogs = false;
        } else if (a == "--frames") {
            std::uint64_t n;
            if (!value(v)) return std::nullopt;
            if (!parseNumber(v, n)) {
                error = "--frames needs a whole number, not '" + v + "'";
                return std::nullopt;
            }
            o.frames = n;
        } else if (a == "--clock-start") {
            if (!value(v)) return std::nullopt;
            if (!parseNumber(v, o.clockStart)) {
                error = "--clock-start needs a whole number of seconds, not '" + v + "'";
                return std::nullopt;
            }
        } else if (a == "--ms-start") {
            if (!value(v)) return std::nullopt;
            if (!parseNumber(v, o.msStart)) {
                error = "--ms-start needs a number of milliseconds (0 to 4294967295), not '" + v + "'";
                return std::nullopt;
            }
        } else if (a == "--start-tick") {
            if (!value(v)) return std::nullopt;
            if (!parseNumber(v, o.startTick) || o.startTick < 0) {
                error = "--start-tick needs a stage clock tick (0 or more), not '" + v + "'";
                return std::nullopt;
            }
            startTickGiven = true;
        } else if (a == "--screenshot") {
            if (!value(v)) return std::nullopt;
            const auto colon = v.find(':');
            std::uint64_t frame;
            if (colon == std::string::npos || colon + 1 == v.size() || !parseNumber(v.substr(0, colon), frame)) {
                error = "--screenshot needs FRAME:FILE.png, not '" + v + "'";
                return std::nullopt;
            }
            o.screenshots.emplace_back(frame, v.substr(colon + 1));
        } else if (a == "--autoplay") {
            o.autoplay = true;
        } else if (a == "--autoplay-difficulty") {
            if (!value(v)) return std::nullopt;
            if (v == "easy") o.autoplayDifficulty = 0;
            else if (v == "normal") o.autoplayDifficulty = 1;
            else if (v == "hard") o.autoplayDifficulty = 2;
            else {
                error = "--autoplay-difficulty needs easy, normal or hard, not '" + v + "'";
                return std::nullopt;
            }
            difficultyGiven = true;
        } else if (a == "--music-volume" || a == "--sound-volume") {
            if (!value(v)) return std::nullopt;
            std::int32_t& level = a == "--music-volume" ? o.musicVolume : o.soundVolume;
            if (!parseNumber(v, level) || level < 0 || level > 100) {
                error = a + " needs a whole number from 0 to 100, not '" + v + "'";
                return std::nullopt;
            }
        } else if (a == "--quality") {
            if (!value(v)) return std::nullopt;
            if (v == "low") o.quality = Options::Quality::low;
            else if (v == "high") o.quality = Options::Quality::high;
            else if (v == "auto") o.quality = Options::Quality::automatic;
            else {
                error = "--quality needs low, high or auto, not '" + v + "'";
                return std::nullopt;
            }
        } else if (a == "--lockstep") {
            o.lockstep = true;
        } else if (a == "--trace-groups") {
            if (!value(v)) return std::nullopt;
            o.traceGroups.emplace();
            if (!parseGroups(v, *o.traceGroups, error)) return std::nullopt;
        } else {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        }
    }
    if (!o.input.empty() && !o.headless) {
        error = "--input needs --headless";
        return std::nullopt;
    }
    if (o.lockstep && !o.headless) {
        error = "--lockstep needs --headless";
        return std::nullopt;
    }
    if (o.lockstep && !o.input.empty()) {
        error = "--lockstep reads the input from standard input; it cannot be used with --input";
        return std::nullopt;
    }
    if (o.traceGroups && o.trace.empty() && !o.lockstep) {
        error = "--trace-groups needs --trace or --lockstep";
        return std::nullopt;
    }
    if (difficultyGiven && !o.autoplay) {
        error = "--autoplay-difficulty needs --autoplay";
        return std::nullopt;
    }
    if (!o.replay.empty() && (!o.input.empty() || o.lockstep || o.autoplay || startTickGiven || !o.record.empty())) {
        error = "--replay plays the recorded input and start tick; it cannot be used with --input, "
                "--lockstep, --autoplay, --start-tick or --record";
        return std::nullopt;
    }
    if (o.noConfig && !o.config.empty()) {
        error = "--config names a settings file and --no-config reads none; give one of them";
        return std::nullopt;
    }
    if (!o.audioOut.empty() && !o.headless) {
        error = "--audio-out needs --headless";
        return std::nullopt;
    }
    return o;
}
