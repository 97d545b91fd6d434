// UserSettings: the settings file of a run. Where it is, reading it before
// the window is made (its faults reported, the rest applied under the
// command line), and writing back on a clean exit what was changed while
// playing.
#pragma once

#include <string>
#include <vector>

#include "app/options.h"
#include "platform/sdl/sdl_input.h"
#include "platform/settings/settings_file.h"

class UserSettings {
public:
    // $XDG_CONFIG_HOME/tervo/tervo.conf, else ~/.config/tervo/tervo.conf;
    // empty when neither variable is set.
    static std::string defaultPath();

    // The file a run reads: --config FILE; none with --no-config; none for
    // headless runs and replays (so they never depend on the user's file);
    // otherwise the default one.
    static std::string pathFor(const Options& commandLine);

    // Reads the file (empty path: nothing) and reports each fault on stderr
    // as "FILE:LINE: what is wrong". A missing file is written with the
    // defaults. False when the file exists but cannot be read.
    bool load(const std::string& path);

    // The options a command line starts from: the file's values.
    Options base() const;
    // The bindings and the pad mappings, for the SDL backend.
    platform::SdlInputOptions input() const { return input_; }
    const std::string& path() const { return path_; }

    // At a clean exit: writes the volumes, full screen and window size that
    // differ from what the run started with (temporary file, then rename).
    // A file that had faults is left as it is.
    struct Played {
        int musicVolume, soundVolume;
        bool fullscreen;
        int width, height;
    };
    void saveChanges(const Options& started, const Played& now) const;

private:
    std::string path_;
    bool faulty_ = false;
    platform::settings::Settings settings_;
    platform::SdlInputOptions input_;
};
