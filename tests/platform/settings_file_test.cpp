// The settings file's text: what it reads, which lines it refuses and why,
// and writing changed values back without touching the rest.
#include <gtest/gtest.h>

#include "platform/settings/settings_file.h"

namespace st = platform::settings;

namespace {

st::Settings read(const std::string& text, std::vector<st::Problem>& problems) {
    problems.clear();
    return st::parse(text, problems);
}

}  // namespace

TEST(SettingsFile, ReadsTheDefaultFileAndAHandWrittenOne) {
    std::vector<st::Problem> problems;
    const st::Settings d = read(st::defaultText(), problems);
    EXPECT_TRUE(problems.empty()) << problems[0].line << ": " << problems[0].what;
    EXPECT_EQ(*d.musicVolume.value, 100);
    EXPECT_TRUE(*d.fullscreen.value);
    EXPECT_EQ(d.windowSize.value->width, 1024);
    for (int a = 0; a < st::kActionCount; ++a) {
        ASSERT_EQ(d.keys[a].names.size(), 1u) << st::kActionNames[a];
        EXPECT_EQ(d.keys[a].names[0], st::kDefaultKeys[a]);
    }
    EXPECT_FALSE(d.padMappings.value);  // given only as a comment

    const st::Settings s = read("  # comment\r\n"
                                "music_volume=0\n"
                                "sound_volume = 55  \r\n"
                                "fullscreen = off\n"
                                "window_size = 1920x1080\n"
                                "quality = low\n"
                                "[keys]\n"
                                "fire =  Z ,Space, Left Shift\n"
                                "[pad]\n"
                                "missile = x\n"
                                "mappings = pads.txt",  // no final newline
                                problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(*s.musicVolume.value, 0);
    EXPECT_EQ(*s.soundVolume.value, 55);
    EXPECT_EQ(s.soundVolume.line, 3);
    EXPECT_FALSE(*s.fullscreen.value);
    EXPECT_EQ(s.windowSize.value->height, 1080);
    EXPECT_EQ(*s.quality.value, st::Quality::low);
    EXPECT_EQ(s.keys[int(st::Action::fire)].names, (std::vector<std::string>{"Z", "Space", "Left Shift"}));
    EXPECT_EQ(s.keys[int(st::Action::fire)].line, 8);
    EXPECT_EQ(s.keys[int(st::Action::missile)].line, 0);  // the default applies
    EXPECT_EQ(s.pad[int(st::Action::missile)].names, std::vector<std::string>{"x"});
    EXPECT_EQ(*s.padMappings.value, "pads.txt");
}

TEST(SettingsFile, EachBadLineIsReportedByNumberAndTheRestApplies) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"music_volume = 101", "from 0 to 100"},
        {"music_volume = -1", "from 0 to 100"},
        {"music_volume = 5x", "from 0 to 100"},
        {"fullscreen = maybe", "yes or no"},
        {"window_size = 100x100", "WIDTHxHEIGHT"},
        {"window_size = 1024", "WIDTHxHEIGHT"},
        {"quality = best", "auto, low or high"},
        {"volume = 5", "unknown setting 'volume'"},
        {"just words", "not a 'name = value' line"},
        {"= 5", "a value with no name"},
        {"fullscreen =", "fullscreen has no value"},
        {"[video]", "unknown section [video]"},
    };
    for (const auto& c : cases) {
        std::vector<st::Problem> problems;
        const st::Settings s = read(std::string("sound_volume = 40\n") + c.line + "\nmusic_volume = 20\n", problems);
        ASSERT_EQ(problems.size(), 1u) << c.line;
        EXPECT_EQ(problems[0].line, 2) << c.line;
        EXPECT_NE(problems[0].what.find(c.says), std::string::npos) << c.line << " -> " << problems[0].what;
        EXPECT_EQ(*s.soundVolume.value, 40) << c.line;
        // The good line after it applies (unless the bad one opened a section).
        if (c.line[0] != '[') {
            EXPECT_EQ(s.musicVolume.value.value_or(-1), 20) << c.line;
        }
    }

    // A second value for one setting or one action: the first stands.
    std::vector<st::Problem> problems;
    const st::Settings s = read("music_volume = 10\nmusic_volume = 90\n[keys]\nfire = A\njump = J\nfire = B\n"
                                "missile = X,,Y\n[pad]\nfire = a\nfire = b\n",
                                problems);
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_EQ(problems[0].line, 2);
    EXPECT_NE(problems[0].what.find("already set on line 1"), std::string::npos);
    EXPECT_NE(problems[1].what.find("unknown action 'jump'"), std::string::npos);
    EXPECT_EQ(problems[2].line, 6);
    EXPECT_EQ(problems[3].line, 7);  // an empty name between commas
    EXPECT_EQ(problems[4].line, 10);
    EXPECT_EQ(*s.musicVolume.value, 10);
    EXPECT_EQ(s.keys[int(st::Action::fire)].names, std::vector<std::string>{"A"});
    EXPECT_TRUE(s.keys[int(st::Action::missile)].names.empty());
    EXPECT_EQ(s.pad[int(st::Action::fire)].names, std::vector<std::string>{"a"});
}

TEST(SettingsFile, WritingBackReplacesOnlyTheChangedValues) {
    const std::string text = "# mine\n"
                             "music_volume = 80   \n"
                             "  fullscreen=yes\n"
                             "oops\n"
                             "\n"
                             "[keys]\n"
                             "# fire\n"
                             "fire = Space\n"
                             "[pad]\n"
                             "mappings = a file\n";
    const std::string out = st::withValues(text, {{"fullscreen", "no"}, {"window_size", "800x600"},
                                                  {"music_volume", "30"}});
    EXPECT_EQ(out, "# mine\n"
                   "music_volume = 30\n"
                   "fullscreen = no\n"
                   "oops\n"
                   "\n"
                   "window_size = 800x600\n"  // a value the file lacked: at the end of the top section
                   "[keys]\n"
                   "# fire\n"
                   "fire = Space\n"
                   "[pad]\n"
                   "mappings = a file\n");
    // Names under a section are not the top section's, even when they match.
    EXPECT_EQ(st::withValues("[keys]\nfullscreen = no\n", {{"fullscreen", "yes"}}),
              "fullscreen = yes\n[keys]\nfullscreen = no\n");
    EXPECT_EQ(st::withValues("", {{"sound_volume", "0"}}), "sound_volume = 0\n");
    EXPECT_EQ(st::withValues(text, {}), text);
    // What was written reads back as written.
    std::vector<st::Problem> problems;
    const st::Settings s = read(out, problems);
    EXPECT_EQ(*s.musicVolume.value, 30);
    EXPECT_FALSE(*s.fullscreen.value);
    EXPECT_EQ(st::formatWindowSize(*s.windowSize.value), "800x600");
}
