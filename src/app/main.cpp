// The process entry: reads the command line, picks the backend (a real
// window, or headless with a virtual clock), finds the asset pack, and hands
// over to the game's entry.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/harness.h"
#include "app/options.h"
#include "app/process_end.h"
#include "audio/audio_trace.h"
#include "autopilot/autopilot.h"
#include "platform/audio/audio_output.h"
#include "app/process.h"
#include "app/singletons.h"
#include "app/user_settings.h"
#include "app/win_main.h"
#include "platform/audio/player_volume.h"
#include "platform/headless/headless_backend.h"
#include "platform/replay/replay.h"
#include "platform/audio/mixer.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_window.h"
#include "platform/gfx/gfx_config.h"
#include "platform/gfx/png_read_ahead.h"
#include "world/graphics_part.h"

namespace fs = std::filesystem;

namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "tervo: %s\nTry 'tervo --help'.\n", message.c_str());
    return 2;
}

// The pack next to the binary (a build tree), else the one installed with it.
fs::path defaultAssetDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const fs::path dir = exe.parent_path();
    if (fs::is_directory(dir / "t", ec)) return dir;
    if (fs::is_directory(dir / ".." / "share" / "tervo" / "t", ec)) return dir / ".." / "share" / "tervo";
    return {};
}

// The pack's pictures, largest first: the screens' full-size pictures, the
// first the loader asks for, take longest.
std::vector<std::string> packPictures() {
    std::vector<std::pair<std::uintmax_t, std::string>> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("t", ec))
        if (entry.path().extension() == ".png") found.emplace_back(entry.file_size(ec), entry.path().string());
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::string> files;
    for (auto& f : found) files.push_back(std::move(f.second));
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = parseOptions(args, error);
    if (!options) return usageError(error);
    if (options->help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(versionText().c_str(), stdout);
        return 0;
    }

    // The settings file comes first, before the window is made; the command
    // line is read again over what it sets, so that the command line wins.
    UserSettings userSettings;
    if (!userSettings.load(UserSettings::pathFor(*options))) return 1;
    options = parseOptions(args, error, userSettings.base());
    if (!options) return usageError(error);  // it parsed once; kept for safety
    if (options->keys) {
        const std::string& from = userSettings.path();
        std::printf("Settings: %s\n%s", from.empty() ? "none (defaults)" : from.c_str(),
                    platform::describeBindings(userSettings.input().bindings).c_str());
        return 0;
    }

    // Scripted input is read whole before anything runs.
    platform::InputScript script;
    if (!options->input.empty()) {
        std::ifstream in(options->input);
        if (!in) return usageError("cannot read the input script " + options->input);
        std::stringstream text;
        text << in.rdbuf();
        auto parsed = platform::InputScript::parse(text.str(), error);
        if (!parsed) return usageError(error);
        script = std::move(*parsed);
    }

    // The game runs in its asset folder; files named on the command line are
    // where the user meant them, relative to where the game was started.
    auto fromHere = [](std::string& path) {
        std::error_code ec;
        if (!path.empty()) path = fs::absolute(path, ec).string();
    };
    fromHere(options->trace);
    fromHere(options->audioOut);
    fromHere(options->frameTimes);
    fromHere(options->record);
    fromHere(options->replay);
    for (auto& shot : options->screenshots) fromHere(shot.second);

    const fs::path assets = options->assets.empty() ? defaultAssetDir() : fs::path(options->assets);
    if (!assets.empty()) {
        std::error_code ec;
        fs::current_path(assets, ec);
        if (ec) return usageError("cannot use the asset folder " + assets.string() + ": " + ec.message());
    }
    // The pictures are read and decoded while the window and the device are
    // made; the loader takes them from there.
    platform::gfx::startPngReadAhead(packPictures());
    processEnd.atEnd(platform::gfx::stopPngReadAhead);

    // A replay is checked whole before anything runs; it brings its start tick.
    if (!options->replay.empty()) {
        platform::replay::Header header;
        if (!platform::replay::startPlayback(options->replay, header, error)) {
            std::fprintf(stderr, "tervo: %s\n", error.c_str());
            return 2;
        }
        options->startTick = header.startTick;
    }

    platform::HeadlessBackend* headless = nullptr;
    if (options->headless) {
        auto backend = std::make_unique<platform::HeadlessBackend>(std::move(script), options->msStart,
                                                                   options->clockStart);
        if (options->lockstep) backend->useLockstep(std::make_unique<platform::LockstepInput>(stdin));
        headless = backend.get();
        platform::installBackend(std::move(backend));
    } else {
        platform::setSdlWindowOptions({options->window, options->dialogs, options->windowWidth,
                                       options->windowHeight});
        platform::setSdlInputOptions(userSettings.input());
        std::string why;
        auto backend = platform::createSdlBackend(why);
        if (!backend) {
            std::fprintf(stderr,
                         "tervo: %s; to run without a display use --headless "
                         "(with --frames N, --input FILE, --trace FILE)\n",
                         why.c_str());
            return 1;
        }
        platform::installBackend(std::move(backend));
    }

    platform::audio::OutputConfig audio;
    audio.headless = options->headless;
    audio.clock = headless ? &headless->clock() : nullptr;
    audio.wavOutPath = options->audioOut;
    audio.heard = !options->headless || !options->audioOut.empty();
    if (!platform::audio::openOutput(audio)) {
        std::fprintf(stderr, "tervo: cannot write the audio file %s\n", options->audioOut.c_str());
        return 1;
    }
    processEnd.atEnd(platform::audio::closeOutput);
    platform::audio::setPlayerVolumes(options->musicVolume, options->soundVolume);

    platform::gfx::GfxConfig gfx;
    gfx.headless = options->headless;
    gfx.window = options->window;
    gfx.screenshots = options->screenshots;
    using GfxQuality = platform::gfx::GfxConfig::Quality;
    gfx.quality = options->quality == Options::Quality::low    ? GfxQuality::low
                  : options->quality == Options::Quality::high ? GfxQuality::high
                                                               : GfxQuality::automatic;
    // A lockstep run writes the trace too, on standard output.
    const bool tracing = !options->trace.empty() || options->lockstep;
    gfx.recordCalls = tracing;
    platform::gfx::configure(gfx);
    if (!options->frameTimes.empty() && !platform::gfx::frameTimes().open(options->frameTimes)) {
        std::fprintf(stderr, "tervo: cannot write the frame times to %s\n", options->frameTimes.c_str());
        return 1;
    }

    setAudioCallRecording(tracing);
    if (!harness.configure({options->frames, options->trace, options->lockstep, options->traceGroups},
                           headless, error)) {
        std::fprintf(stderr, "tervo: %s\n", error.c_str());
        return 1;
    }

    world.setStartTick(options->startTick);
    if (options->autoplay) autopilot::enable(options->autoplayDifficulty);
    if (!options->record.empty() && !platform::replay::startRecording(options->record, options->startTick, error)) {
        std::fprintf(stderr, "tervo: %s\n", error.c_str());
        return 1;
    }
    processEnd.atEnd(platform::replay::finish);  // a run that ends early still closes its replay
    int code = WinMain(nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    platform::replay::finish();
    // A clean exit keeps what the player changed: the volumes, full screen
    // and the window's size.
    platform::SdlWindowState window;
    if (code == 0 && !anyLoadFailed && platform::sdlWindowState(window)) {
        using platform::audio::VolumeKind;
        userSettings.saveChanges(*options, {platform::audio::playerVolume(VolumeKind::music),
                                            platform::audio::playerVolume(VolumeKind::sound), window.fullscreen,
                                            window.width, window.height});
    }
    // A run cut short by a file that failed to load is a failure, though the
    // loop itself ends through the ordinary quit message.
    if (anyLoadFailed && code == 0) code = 1;
    // So is one whose pictures, asked for, could not be written.
    if (platform::gfx::screenshotFailed() && code == 0) code = 1;
    return code;
}
