#include "app/user_settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
namespace settings = platform::settings;

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The whole file; false when it cannot be read.
bool readText(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) return false;
    out = text.str();
    return true;
}

// Writes the text whole under a temporary name beside the file, then renames
// it over the file: a reader sees the old file or the new one, never half.
bool writeAtomically(const std::string& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

// In the order of the file's lines (the bindings are checked after the values).
void report(const std::string& path, std::vector<settings::Problem> problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const settings::Problem& a, const settings::Problem& b) { return a.line < b.line; });
    for (const auto& p : problems) std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), p.line, p.what.c_str());
}

// A mapping file named in the settings: "~/" is the home folder, and a
// relative name is beside the settings file.
std::string mappingPath(const std::string& name, const std::string& settingsPath) {
    if (name.rfind("~/", 0) == 0) return env("HOME") + name.substr(1);
    if (fs::path(name).is_absolute()) return name;
    return (fs::path(settingsPath).parent_path() / name).string();
}

}  // namespace

std::string UserSettings::defaultPath() {
    const std::string config = env("XDG_CONFIG_HOME");
    if (!config.empty() && fs::path(config).is_absolute()) return config + "/tervo/tervo.conf";
    const std::string home = env("HOME");
    return home.empty() ? "" : home + "/.config/tervo/tervo.conf";
}

std::string UserSettings::pathFor(const Options& o) {
    if (o.noConfig) return "";
    if (!o.config.empty()) return o.config;
    if (o.headless || !o.replay.empty()) return "";
    return defaultPath();
}

bool UserSettings::load(const std::string& given) {
    std::error_code ec;
    // Absolute: the game works inside its asset folder, and saves at the end.
    const std::string path = given.empty() ? "" : fs::absolute(given, ec).string();
    path_ = path;
    if (path.empty()) return true;
    std::string text;
    if (!fs::exists(path, ec)) {
        text = settings::defaultText();
        if (!writeAtomically(path, text))
            std::fprintf(stderr, "tervo: cannot write the settings file %s\n", path.c_str());
    } else if (!readText(path, text)) {
        std::fprintf(stderr, "tervo: cannot read the settings file %s\n", path.c_str());
        return false;
    }
    std::vector<settings::Problem> problems;
    settings_ = settings::parse(text, problems);
    input_.bindings = platform::resolveBindings(settings_, problems);
    if (settings_.padMappings.value) {
        input_.mappingsFile = mappingPath(*settings_.padMappings.value, path);
        input_.mappingsWhere = path + ":" + std::to_string(settings_.padMappings.line);
    }
    faulty_ = !problems.empty();
    report(path, problems);
    return true;
}

Options UserSettings::base() const {
    Options o;
    const auto& s = settings_;
    if (s.musicVolume.value) o.musicVolume = *s.musicVolume.value;
    if (s.soundVolume.value) o.soundVolume = *s.soundVolume.value;
    if (s.fullscreen.value) o.window = !*s.fullscreen.value;
    if (s.windowSize.value) {
        o.windowWidth = s.windowSize.value->width;
        o.windowHeight = s.windowSize.value->height;
    }
    if (s.quality.value) {
        switch (*s.quality.value) {
            case settings::Quality::low: o.quality = Options::Quality::low; break;
            case settings::Quality::high: o.quality = Options::Quality::high; break;
            case settings::Quality::automatic: o.quality = Options::Quality::automatic; break;
        }
    }
    return o;
}

void UserSettings::saveChanges(const Options& started, const Played& now) const {
    if (path_.empty()) return;
    std::vector<settings::Assignment> changed;
    if (now.musicVolume != started.musicVolume) changed.push_back({"music_volume", std::to_string(now.musicVolume)});
    if (now.soundVolume != started.soundVolume) changed.push_back({"sound_volume", std::to_string(now.soundVolume)});
    if (now.fullscreen != !started.window) changed.push_back({"fullscreen", now.fullscreen ? "yes" : "no"});
    if (now.width != started.windowWidth || now.height != started.windowHeight)
        changed.push_back({"window_size", settings::formatWindowSize({now.width, now.height})});
    if (changed.empty()) return;
    if (faulty_) {
        std::fprintf(stderr, "tervo: %s has faults (reported at the start), so what changed while playing "
                             "is not saved\n", path_.c_str());
        return;
    }
    // The file as it is now: an edit made while the game ran is kept.
    std::string text;
    if (!readText(path_, text)) return;
    if (!writeAtomically(path_, settings::withValues(text, changed)))
        std::fprintf(stderr, "tervo: cannot save the settings to %s\n", path_.c_str());
}
