// SettingsFile: the text of tervo.conf, read into values and written back.
// A pure function of the text (no files, no SDL), so it can be fuzzed; the
// key and button names are checked later, where SDL knows them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::settings {

// What a player can bind, on the keyboard and on a pad: the game keys, and
// the volume keys (steps of 10 %).
enum class Action { up, down, left, right, fire, missile, pause, musicDown, musicUp, soundDown, soundUp };
constexpr int kActionCount = 11;
constexpr std::array<const char*, kActionCount> kActionNames = {
    "up", "down", "left", "right", "fire", "missile", "pause", "music_down", "music_up", "sound_down", "sound_up"};

// What each action is bound to when the file does not say: SDL key names
// and SDL game controller button names (the left stick steers as well; the
// volumes have no pad buttons unless given).
constexpr std::array<const char*, kActionCount> kDefaultKeys = {"Up", "Down", "Left", "Right", "Z", "X",
                                                                "P",  "F5",   "F6",   "F7",    "F8"};
constexpr std::array<const char*, kActionCount> kDefaultPad = {"dpup", "dpdown", "dpleft", "dpright", "a", "b",
                                                               "start", "",      "",       "",        ""};

// One action's binding as the file gives it: the names, and the line (0: not
// in the file, the default applies).
struct Binding {
    std::vector<std::string> names;
    int line = 0;
};

// A value and the line it came from (0: not in the file).
template <typename T>
struct Given {
    std::optional<T> value;
    int line = 0;
};

struct WindowSize {
    int width = 1024;
    int height = 768;
};

enum class Quality { automatic, low, high };

struct Settings {
    Given<int> musicVolume;  // percent
    Given<int> soundVolume;
    Given<bool> fullscreen;
    Given<WindowSize> windowSize;
    Given<Quality> quality;
    Given<std::string> padMappings;  // a file of SDL game controller mappings
    std::array<Binding, kActionCount> keys;
    std::array<Binding, kActionCount> pad;
};

// What is wrong with one line; that line was ignored.
struct Problem {
    int line;
    std::string what;
};

// Reads the text. Lines are "name = value" under an optional "[keys]" or
// "[pad]" heading; a line whose first non-blank character is '#' is a
// comment. Every line that cannot be used is reported and skipped.
Settings parse(std::string_view text, std::vector<Problem>& problems);

// The file the game writes when there is none: every setting at its
// default, with comments saying what each one does.
std::string defaultText();

// A value to write into the top section: "name = value".
struct Assignment {
    std::string name;
    std::string value;
};
// The text with these values replaced where the top section sets them (or
// added at the end of that section); every other line stays as it was.
std::string withValues(std::string_view text, const std::vector<Assignment>& values);

// The name a window size is written with.
std::string formatWindowSize(const WindowSize& size);

}  // namespace platform::settings
