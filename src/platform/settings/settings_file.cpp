#include "platform/settings/settings_file.h"

#include <charconv>

namespace platform::settings {

namespace {

enum class Section { top, keys, pad, unknown };

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Calls `line(number, text)` for each line of the text (without its newline).
template <typename F>
void forEachLine(std::string_view text, F&& line) {
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        line(++number, text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

bool parseInt(std::string_view s, int lo, int hi, int& out) {
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= lo && out <= hi;
}

bool parseBool(std::string_view s, bool& out) {
    for (const char* yes : {"yes", "true", "on", "1"})
        if (s == yes) return out = true;
    for (const char* no : {"no", "false", "off", "0"})
        if (s == no) return !(out = false);
    return false;
}

bool parseSize(std::string_view s, WindowSize& out) {
    const std::size_t x = s.find('x');
    if (x == std::string_view::npos) return false;
    return parseInt(s.substr(0, x), 320, 16384, out.width) && parseInt(s.substr(x + 1), 240, 16384, out.height);
}

bool parseQuality(std::string_view s, Quality& out) {
    if (s == "auto") out = Quality::automatic;
    else if (s == "low") out = Quality::low;
    else if (s == "high") out = Quality::high;
    else return false;
    return true;
}

// "A, Left Shift" -> {"A", "Left Shift"}; an empty name is a fault.
bool parseNames(std::string_view s, std::vector<std::string>& out) {
    out.clear();
    for (;;) {
        const std::size_t comma = s.find(',');
        const std::string_view name = trim(s.substr(0, comma));
        if (name.empty()) return false;
        out.emplace_back(name);
        if (comma == std::string_view::npos) return true;
        s.remove_prefix(comma + 1);
    }
}

int actionIndex(std::string_view name) {
    for (int i = 0; i < kActionCount; ++i)
        if (name == kActionNames[i]) return i;
    return -1;
}

template <typename T>
bool takeOnce(Given<T>& slot, int line, std::string_view name, std::vector<Problem>& problems) {
    if (slot.line == 0) return true;
    problems.push_back({line, std::string(name) + " is already set on line " + std::to_string(slot.line) +
                                  "; this one is ignored"});
    return false;
}

// One "name = value" line of the top section.
void topValue(Settings& s, int line, std::string_view name, std::string_view value, std::vector<Problem>& problems) {
    auto bad = [&](const char* needs) {
        problems.push_back({line, std::string(name) + " needs " + needs + ", not '" + std::string(value) + "'"});
    };
    auto set = [&](auto& slot, auto parsed, auto&& parser, const char* needs) {
        if (!takeOnce(slot, line, name, problems)) return;
        if (!parser(value, parsed)) return bad(needs);
        slot.value = parsed;
        slot.line = line;
    };
    auto volume = [](std::string_view v, int& out) { return parseInt(v, 0, 100, out); };
    if (name == "music_volume") set(s.musicVolume, 0, volume, "a whole number from 0 to 100");
    else if (name == "sound_volume") set(s.soundVolume, 0, volume, "a whole number from 0 to 100");
    else if (name == "fullscreen") set(s.fullscreen, false, parseBool, "yes or no");
    else if (name == "window_size") set(s.windowSize, WindowSize{}, parseSize, "WIDTHxHEIGHT (from 320x240)");
    else if (name == "quality") set(s.quality, Quality::automatic, parseQuality, "auto, low or high");
    else problems.push_back({line, "unknown setting '" + std::string(name) + "'"});
}

void bindingValue(std::array<Binding, kActionCount>& bindings, const char* section, int line, std::string_view name,
                  std::string_view value, std::vector<Problem>& problems) {
    const int action = actionIndex(name);
    if (action < 0) {
        problems.push_back({line, "unknown action '" + std::string(name) + "' in [" + section +
                                      "] (they are up down left right fire missile pause music_down "
                                      "music_up sound_down sound_up)"});
        return;
    }
    Binding& b = bindings[action];
    if (b.line != 0) {
        problems.push_back({line, std::string(name) + " is already bound on line " + std::to_string(b.line) +
                                      "; this one is ignored"});
        return;
    }
    std::vector<std::string> names;
    if (!parseNames(value, names)) {
        problems.push_back({line, std::string(name) + " needs one or more names separated by commas"});
        return;
    }
    b.names = std::move(names);
    b.line = line;
}

}  // namespace

Settings parse(std::string_view text, std::vector<Problem>& problems) {
    Settings s;
    Section section = Section::top;
    forEachLine(text, [&](int line, std::string_view raw) {
        const std::string_view l = trim(raw);
        if (l.empty() || l.front() == '#') return;
        if (l.front() == '[') {
            if (l == "[keys]") section = Section::keys;
            else if (l == "[pad]") section = Section::pad;
            else {
                section = Section::unknown;
                problems.push_back({line, "unknown section " + std::string(l) + " (its lines are ignored)"});
            }
            return;
        }
        const std::size_t eq = l.find('=');
        if (eq == std::string_view::npos) {
            problems.push_back({line, "not a 'name = value' line"});
            return;
        }
        const std::string_view name = trim(l.substr(0, eq)), value = trim(l.substr(eq + 1));
        if (name.empty() || value.empty()) {
            problems.push_back({line, name.empty() ? "a value with no name" : std::string(name) + " has no value"});
            return;
        }
        switch (section) {
            case Section::top: topValue(s, line, name, value, problems); break;
            case Section::keys: bindingValue(s.keys, "keys", line, name, value, problems); break;
            case Section::pad:
                if (name == "mappings") {
                    if (takeOnce(s.padMappings, line, name, problems)) s.padMappings = {std::string(value), line};
                } else {
                    bindingValue(s.pad, "pad", line, name, value, problems);
                }
                break;
            case Section::unknown: break;
        }
    });
    return s;
}

std::string formatWindowSize(const WindowSize& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::string defaultText() {
    std::string t =
        "# TERVO settings: one 'name = value' a line; a line starting with '#' is a\n"
        "# comment. The command line overrides what is set here. When the game ends\n"
        "# it writes back the volumes, full screen and the window size if they were\n"
        "# changed while playing, and leaves every other line as it is.\n"
        "\n"
        "# Volumes, 0 to 100 percent (F5 and F6 step the music, F7 and F8 the sound).\n"
        "music_volume = 100\n"
        "sound_volume = 100\n"
        "# yes: borderless full screen; no: a window (Alt+Enter switches).\n"
        "fullscreen = yes\n"
        "# The window's size when not full screen, WIDTHxHEIGHT.\n"
        "window_size = 1024x768\n"
        "# Picture quality in a window: auto, low or high.\n"
        "quality = auto\n"
        "\n"
        "[keys]\n"
        "# Each action takes one or more SDL key names, separated by commas,\n"
        "# for example 'fire = Z, Space' or 'up = Up, W'. One key serves one\n"
        "# action only. Escape always quits. 'tervo --keys' shows the keys in use.\n";
    for (int i = 0; i < kActionCount; ++i) t += std::string(kActionNames[i]) + " = " + kDefaultKeys[i] + "\n";
    t += "\n"
         "[pad]\n"
         "# Game controller buttons by SDL's names: a b x y back guide start\n"
         "# leftstick rightstick leftshoulder rightshoulder dpup dpdown dpleft\n"
         "# dpright. The left stick steers as well. A pad can be plugged in or\n"
         "# pulled out while playing; pulling it out pauses the game.\n";
    for (int i = 0; i < kActionCount; ++i)
        if (*kDefaultPad[i]) t += std::string(kActionNames[i]) + " = " + kDefaultPad[i] + "\n";
    t += "# music_down, music_up, sound_down and sound_up take buttons as well.\n";
    t += "# A file of SDL game controller mappings (the gamecontrollerdb.txt format),\n"
         "# for pads SDL does not know; SDL_GAMECONTROLLERCONFIG is read as well.\n"
         "# mappings = /path/to/gamecontrollerdb.txt\n";
    return t;
}

std::string withValues(std::string_view text, const std::vector<Assignment>& values) {
    std::vector<bool> written(values.size(), false);
    std::string out;
    std::size_t topEnd = std::string::npos;  // where the top section's missing values go
    bool top = true;
    forEachLine(text, [&](int, std::string_view raw) {
        const std::string_view l = trim(raw);
        if (!l.empty() && l.front() == '[' && top) {
            top = false;
            topEnd = out.size();
        }
        const std::size_t eq = l.find('=');
        if (top && !l.empty() && l.front() != '#' && eq != std::string_view::npos) {
            const std::string_view name = trim(l.substr(0, eq));
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (written[i] || name != values[i].name) continue;
                out += values[i].name + " = " + values[i].value + "\n";
                written[i] = true;
                return;
            }
        }
        out.append(raw);
        out += '\n';
    });
    if (topEnd == std::string::npos) topEnd = out.size();
    std::string added;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!written[i]) added += values[i].name + " = " + values[i].value + "\n";
    out.insert(topEnd, added);
    return out;
}

}  // namespace platform::settings
