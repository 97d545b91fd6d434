#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <fcntl.h>
#include <png.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_context.h"
#include "platform/input.h"
#include "platform/pause.h"
#include "platform/sdl/sdl_window.h"

namespace platform {

namespace {

SDL_Window* g_sdlWindow = nullptr;
SdlWindowOptions g_options;

// Physical key positions the game reads, as DirectInput codes.
struct KeyMap {
    SDL_Scancode scancode;
    int dik;
};
constexpr KeyMap keyMap[] = {
    {SDL_SCANCODE_UP, DIK_UP},       {SDL_SCANCODE_DOWN, DIK_DOWN}, {SDL_SCANCODE_LEFT, DIK_LEFT},
    {SDL_SCANCODE_RIGHT, DIK_RIGHT}, {SDL_SCANCODE_Z, DIK_Z},       {SDL_SCANCODE_X, DIK_X},
    {SDL_SCANCODE_C, DIK_C},         {SDL_SCANCODE_ESCAPE, DIK_ESCAPE},
};

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

// A joystick attached at start-up. Pads of today report the D-pad as a hat or
// (through the game-controller mapping) as buttons; either one is presented
// as the stick's end values, as the pads of the game's time did.
struct Pad {
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
};

class SdlBackend final : public Backend {
public:
    SdlBackend() {
        const int count = SDL_NumJoysticks();
        for (int i = 0; i < count; ++i) {
            Pad pad;
            pad.joystick = SDL_JoystickOpen(i);
            if (!pad.joystick) continue;
            if (SDL_IsGameController(i)) pad.controller = SDL_GameControllerOpen(i);
            pads_.push_back(pad);
        }
    }

    ~SdlBackend() override {
        for (auto& pad : pads_) {
            if (pad.controller) SDL_GameControllerClose(pad.controller);
            SDL_JoystickClose(pad.joystick);
        }
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
        g_sdlWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                                       SDL_WINDOWPOS_UNDEFINED, width, height, flags);
        if (!g_sdlWindow) return false;
        gfx::pinDriverLibraries();  // the window's GL visual has loaded the driver
        if (SDL_Surface* icon = loadIcon(iconPath)) {
            SDL_SetWindowIcon(g_sdlWindow, icon);
            SDL_FreeSurface(icon);
        }
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

    void keyboardState(std::uint8_t keys[256]) override {
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (const auto& k : keyMap)
            if (k.scancode < count && state[k.scancode]) keys[k.dik] = 0x80;
    }

    int joystickCount() override { return static_cast<int>(pads_.size()); }

    bool joystickState(int index, JoystickReading& out) override {
        if (index < 0 || index >= static_cast<int>(pads_.size())) return false;
        const Pad& pad = pads_[index];
        if (!SDL_JoystickGetAttached(pad.joystick)) return false;
        SDL_JoystickUpdate();
        auto axis = [&](int a) {
            const Sint16 v = SDL_JoystickGetAxis(pad.joystick, a);
            return v < 0 ? v / 32768.0 : v / 32767.0;
        };
        out = JoystickReading{};
        out.x = SDL_JoystickNumAxes(pad.joystick) > 0 ? axis(0) : 0;
        out.y = SDL_JoystickNumAxes(pad.joystick) > 1 ? axis(1) : 0;
        bool up = false, down = false, left = false, right = false;
        if (SDL_JoystickNumHats(pad.joystick) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(pad.joystick, 0);
            up = hat & SDL_HAT_UP;
            down = hat & SDL_HAT_DOWN;
            left = hat & SDL_HAT_LEFT;
            right = hat & SDL_HAT_RIGHT;
        }
        if (pad.controller) {
            auto b = [&](SDL_GameControllerButton button) {
                return SDL_GameControllerGetButton(pad.controller, button) != 0;
            };
            up = up || b(SDL_CONTROLLER_BUTTON_DPAD_UP);
            down = down || b(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
            left = left || b(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
            right = right || b(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        }
        if (up) out.y = -1;
        if (down) out.y = 1;
        if (left) out.x = -1;
        if (right) out.x = 1;
        const int buttons = SDL_JoystickNumButtons(pad.joystick);
        for (int i = 0; i < buttons && i < 32; ++i)
            if (SDL_JoystickGetButton(pad.joystick, i)) out.buttons[i] = 0x80;
        // The start button pauses (a message of its own); the game never sees it.
        if (pad.controller) {
            const SDL_GameControllerButtonBind start =
                SDL_GameControllerGetBindForButton(pad.controller, SDL_CONTROLLER_BUTTON_START);
            if (start.bindType == SDL_CONTROLLER_BINDTYPE_BUTTON && start.value.button >= 0 &&
                start.value.button < 32)
                out.buttons[start.value.button] = 0;
        }
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
                if (e.key.keysym.scancode == SDL_SCANCODE_P) {
                    // One toggle per press: the key's repeats are dropped.
                    if (!e.key.repeat) post(WM_KEYDOWN, VK_P);
                    break;
                }
                post(WM_KEYDOWN, e.key.keysym.scancode == SDL_SCANCODE_ESCAPE
                                     ? VK_ESCAPE
                                     : static_cast<WPARAM>(e.key.keysym.sym));
                break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (e.cbutton.button == SDL_CONTROLLER_BUTTON_START) post(WM_KEYDOWN, VK_GAMEPAD_MENU);
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT) post(WM_LBUTTONDOWN);
                if (e.button.button == SDL_BUTTON_RIGHT) post(WM_RBUTTONDOWN);
                break;
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
            SDL_SetWindowSize(g_sdlWindow, 1024, 768);
        }
    }

    std::vector<Pad> pads_;
    bool destroyed_ = false;
    bool boxFailed_ = false;
    int lockFd_ = -1;
};

}  // namespace

SDL_Window* sdlWindow() { return g_sdlWindow; }
void setSdlWindowOptions(const SdlWindowOptions& options) { g_options = options; }

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
