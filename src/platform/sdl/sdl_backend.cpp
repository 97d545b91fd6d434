#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <fcntl.h>
#include <png.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_context.h"
#include "platform/audio/player_volume.h"
#include "platform/input.h"
#include "platform/pause.h"
#include "platform/sdl/pads.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_window.h"

namespace platform {

namespace {

SDL_Window* g_sdlWindow = nullptr;
SdlWindowOptions g_options;
SdlInputOptions g_input;
class SdlBackend;
SdlBackend* g_backend = nullptr;  // the one backend, while it lives

SDL_Surface* loadIcon(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return nullptr;
    image.format = PNG_FORMAT_RGBA;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32,
                                                    SDL_PIXELFORMAT_RGBA32);
    if (!s || !png_image_finish_read(&image, nullptr, s->pixels, s->pitch, nullptr)) {
        png_image_free(&image);
        if (s) SDL_FreeSurface(s);
        return nullptr;
    }
    return s;
}

// A file of SDL game controller mappings, read before any pad is recognised;
// a fault is reported where the settings name the file.
void addPadMappings(const std::string& path, const std::string& where) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        std::fprintf(stderr, "%s: cannot read the pad mappings in %s (%s)\n", where.c_str(), path.c_str(),
                     std::strerror(errno));
        return;
    }
    std::fclose(f);
    if (SDL_GameControllerAddMappingsFromFile(path.c_str()) < 0)
        std::fprintf(stderr, "%s: the pad mappings in %s cannot be used (%s)\n", where.c_str(), path.c_str(),
                     SDL_GetError());
}

// Game controllers SDL knows (its own mappings, SDL_GAMECONTROLLERCONFIG, the
// settings' mapping file) steer through the keyboard's codes and may come and
// go while playing. Any other joystick attached at start-up is the game's
// joystick, read through the joystick codes for the whole run.
class SdlBackend final : public Backend {
public:
    SdlBackend() : bindings_(g_input.bindings) {
        if (!g_input.mappingsFile.empty()) addPadMappings(g_input.mappingsFile, g_input.mappingsWhere);
        g_backend = this;
        placeKeys(bindings_);  // the keyboard layout is known from here on
        const int count = SDL_NumJoysticks();
        for (int i = 0; i < count; ++i) {
            if (SDL_IsGameController(i)) {
                pads_.open(i);
            } else if (SDL_Joystick* joystick = SDL_JoystickOpen(i)) {
                joysticks_.push_back(joystick);
            }
        }
    }

    ~SdlBackend() override {
        g_backend = nullptr;
        pads_.closeAll();
        for (SDL_Joystick* joystick : joysticks_) SDL_JoystickClose(joystick);
        if (g_sdlWindow) SDL_DestroyWindow(g_sdlWindow);
        g_sdlWindow = nullptr;
        if (lockFd_ >= 0) close(lockFd_);
        SDL_Quit();
    }

    bool headless() const override { return false; }

    bool createWindow(const std::string& title, int width, int height,
                      const std::string& iconPath) override {
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
        flags |= g_options.windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (g_options.windowed) {
            width = g_options.width;
            height = g_options.height;
        }
        g_sdlWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                                       SDL_WINDOWPOS_UNDEFINED, width, height, flags);
        if (!g_sdlWindow) return false;
        gfx::pinDriverLibraries();  // the window's GL visual has loaded the driver
        if (SDL_Surface* icon = loadIcon(iconPath)) {
            SDL_SetWindowIcon(g_sdlWindow, icon);
            SDL_FreeSurface(icon);
        }
        gfx::paintWindowBackground(g_sdlWindow);
        return true;
    }

    void destroyWindow() override {
        if (g_sdlWindow) SDL_HideWindow(g_sdlWindow);
        destroyed_ = true;
    }

    unsigned showState() override {
        if (!g_sdlWindow) return SW_HIDE;
        const Uint32 f = SDL_GetWindowFlags(g_sdlWindow);
        if (f & SDL_WINDOW_MINIMIZED) return SW_SHOWMINIMIZED;
        if (f & SDL_WINDOW_HIDDEN) return SW_HIDE;
        return SW_SHOWNORMAL;
    }

    bool foreground() override {
        return g_sdlWindow && !destroyed_ &&
               (SDL_GetWindowFlags(g_sdlWindow) & SDL_WINDOW_INPUT_FOCUS);
    }

    void showCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

    void pumpEvents(std::deque<MSG>& queue) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) translate(e, queue);
    }

    void waitEvents(std::deque<MSG>& queue) override {
        SDL_Event e;
        if (SDL_WaitEvent(&e)) translate(e, queue);
        pumpEvents(queue);
    }

    std::uint32_t ms() override { return static_cast<std::uint32_t>(SDL_GetTicks64()); }

    void sleep(std::uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

    std::int64_t calendarSeconds() override { return static_cast<std::int64_t>(::time(nullptr)); }

    void framePresented() override {}

    void showMessageBox(const std::string& text, const std::string& caption,
                        unsigned type) override {
        if (!g_options.dialogs) return;
        const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        SDL_Window* parent = destroyed_ ? nullptr : g_sdlWindow;
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), parent) != 0 && !boxFailed_) {
            // SDL's X11 box draws with the X server's core fonts (xfonts-base).
            boxFailed_ = true;
            std::fprintf(stderr, "tervo: cannot show a message box (%s); messages go to this terminal only\n",
                         SDL_GetError());
        }
    }

    // The named lock is a file lock in the user's runtime folder; the kernel
    // drops it when the process ends, however it ends.
    bool takeInstanceLock(const std::string& name) override {
        const char* dir = std::getenv("XDG_RUNTIME_DIR");
        std::string path = std::string(dir && *dir ? dir : "/tmp") + "/tervo." + name + ".lock";
        lockFd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lockFd_ < 0) return true;  // no lock to be had: do not refuse to run
        if (flock(lockFd_, LOCK_EX | LOCK_NB) == 0) return true;
        std::fprintf(stderr, "tervo: the game is already running (it holds %s); only one can run at a time\n",
                     path.c_str());
        return false;
    }

    // The bound keys and what the game controllers hold, as key codes.
    void keyboardState(std::uint8_t keys[256]) override {
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        keysFromKeyboard(bindings_, state, count, keys);
        if (SDL_SCANCODE_ESCAPE < count && state[SDL_SCANCODE_ESCAPE]) keys[DIK_ESCAPE] = 0x80;
        pads_.addHeldKeys(bindings_, keys);
    }

    int joystickCount() override { return static_cast<int>(joysticks_.size()); }

    // A joystick's D-pad, reported as a hat, is presented as the stick's end
    // values, as the pads of the game's time did.
    bool joystickState(int index, JoystickReading& out) override {
        if (index < 0 || index >= static_cast<int>(joysticks_.size())) return false;
        SDL_Joystick* joystick = joysticks_[index];
        if (!SDL_JoystickGetAttached(joystick)) return false;
        SDL_JoystickUpdate();
        auto axis = [&](int a) {
            const Sint16 v = SDL_JoystickGetAxis(joystick, a);
            return v < 0 ? v / 32768.0 : v / 32767.0;
        };
        out = JoystickReading{};
        out.x = SDL_JoystickNumAxes(joystick) > 0 ? axis(0) : 0;
        out.y = SDL_JoystickNumAxes(joystick) > 1 ? axis(1) : 0;
        if (SDL_JoystickNumHats(joystick) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(joystick, 0);
            if (hat & SDL_HAT_UP) out.y = -1;
            if (hat & SDL_HAT_DOWN) out.y = 1;
            if (hat & SDL_HAT_LEFT) out.x = -1;
            if (hat & SDL_HAT_RIGHT) out.x = 1;
        }
        const int buttons = SDL_JoystickNumButtons(joystick);
        for (int i = 0; i < buttons && i < 32; ++i)
            if (SDL_JoystickGetButton(joystick, i)) out.buttons[i] = 0x80;
        return true;
    }

    bool windowState(SdlWindowState& out) const {
        if (!g_sdlWindow || destroyed_) return false;
        out.fullscreen = SDL_GetWindowFlags(g_sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP;
        out.width = g_options.width;
        out.height = g_options.height;
        if (!out.fullscreen) SDL_GetWindowSize(g_sdlWindow, &out.width, &out.height);
        return true;
    }

private:
    void translate(const SDL_Event& e, std::deque<MSG>& queue) {
        auto post = [&](unsigned message, WPARAM wParam = 0) { queue.push_back(windowMessage(message, wParam)); };
        switch (e.type) {
            case SDL_QUIT: post(WM_CLOSE); break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) post(WM_SETFOCUS);
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                    noteFocusLost();
                    post(WM_KILLFOCUS);
                }
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) post(WM_CLOSE);
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED) gfx::windowPictureLost();
                // While paused nothing else draws: the paused picture is shown again.
                if (paused() && (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                 e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
                    post(WM_PAINT);
                break;
            case SDL_KEYDOWN:
                if (e.key.keysym.sym == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
                    toggleFullScreen();
                    break;
                }
                if (const int action = keyAction(bindings_, e.key.keysym.scancode); action >= 0) {
                    // One toggle or volume step per press: the key's repeats are dropped.
                    if (!e.key.repeat) pressed(action, VK_P, queue);
                    if (isPress(action)) break;
                }
                post(WM_KEYDOWN, e.key.keysym.scancode == SDL_SCANCODE_ESCAPE
                                     ? VK_ESCAPE
                                     : static_cast<WPARAM>(e.key.keysym.sym));
                break;
            case SDL_KEYMAPCHANGED: placeKeys(bindings_); break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (pads_.owns(e.cbutton.which))
                    pressed(buttonAction(bindings_, e.cbutton.button), VK_GAMEPAD_MENU, queue);
                break;
            // A pad plugged in is taken up at once; one pulled out pauses
            // the game, and the keyboard plays on.
            case SDL_CONTROLLERDEVICEADDED:
                if (!gameJoystick(SDL_JoystickGetDeviceInstanceID(e.cdevice.which))) pads_.open(e.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                if (pads_.close(e.cdevice.which)) post(WM_KEYDOWN, VK_PAUSE);
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT) post(WM_LBUTTONDOWN);
                if (e.button.button == SDL_BUTTON_RIGHT) post(WM_RBUTTONDOWN);
                break;
            default: break;
        }
    }

    // The game's joystick, taken at start-up, stays so for the run.
    bool gameJoystick(SDL_JoystickID id) const {
        for (SDL_Joystick* joystick : joysticks_)
            if (SDL_JoystickInstanceID(joystick) == id) return true;
        return false;
    }

    // Pause and the volume keys act when pressed; the game never sees them.
    static bool isPress(int action) { return action >= static_cast<int>(settings::Action::pause); }
    static void pressed(int action, WPARAM pauseKey, std::deque<MSG>& queue) {
        using settings::Action;
        using audio::VolumeKind;
        switch (static_cast<Action>(action)) {
            case Action::pause: queue.push_back(windowMessage(WM_KEYDOWN, pauseKey)); break;
            case Action::musicDown: audio::stepPlayerVolume(VolumeKind::music, -10); break;
            case Action::musicUp: audio::stepPlayerVolume(VolumeKind::music, 10); break;
            case Action::soundDown: audio::stepPlayerVolume(VolumeKind::sound, -10); break;
            case Action::soundUp: audio::stepPlayerVolume(VolumeKind::sound, 10); break;
            default: break;
        }
    }

    // Alt+Enter switches between borderless full screen and a window.
    void toggleFullScreen() {
        if (!g_sdlWindow) return;
        const bool full = SDL_GetWindowFlags(g_sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_SetWindowFullscreen(g_sdlWindow, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        if (full) {
            SDL_SetWindowResizable(g_sdlWindow, SDL_TRUE);
            SDL_SetWindowSize(g_sdlWindow, g_options.width, g_options.height);
        }
    }

    InputBindings bindings_;
    PadSet pads_;
    std::vector<SDL_Joystick*> joysticks_;
    bool destroyed_ = false;
    bool boxFailed_ = false;
    int lockFd_ = -1;
};

}  // namespace

SDL_Window* sdlWindow() { return g_sdlWindow; }
void setSdlWindowOptions(const SdlWindowOptions& options) { g_options = options; }
void setSdlInputOptions(const SdlInputOptions& options) { g_input = options; }
bool sdlWindowState(SdlWindowState& out) {
    return g_backend && g_backend->windowState(out);
}

std::unique_ptr<Backend> createSdlBackend(std::string& why) {
    constexpr Uint32 subsystems = SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS;
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value ? value : nullptr;
    };
    // A driver the user names is used as named.
    if (set("SDL_VIDEODRIVER")) {
        if (SDL_Init(subsystems) != 0) {
            why = std::string("cannot open the display: ") + SDL_GetError();
            SDL_Quit();
            return nullptr;
        }
        return std::make_unique<SdlBackend>();
    }
    // Otherwise only the window systems the environment names are tried: left
    // to itself, SDL falls back to its offscreen driver, and the game would
    // run where nobody can see it.
    struct Candidate {
        const char* driver;
        const char* variable;
    };
    constexpr Candidate candidates[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}};
    std::string tried;
    for (const Candidate& c : candidates) {
        const char* value = set(c.variable);
        if (!value) continue;
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, c.driver, SDL_HINT_OVERRIDE);  // over an empty variable
        if (SDL_Init(subsystems) == 0) return std::make_unique<SdlBackend>();
        if (!tried.empty()) tried += ", ";
        tried += std::string(c.driver) + " on " + c.variable + "=" + value + " (" + SDL_GetError() + ")";
        SDL_Quit();
    }
    if (tried.empty()) why = "no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    else why = "cannot open the display: tried " + tried;
    return nullptr;
}

}  // namespace platform
