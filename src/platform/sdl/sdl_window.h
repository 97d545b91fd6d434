// Access to the SDL window for the rest of the platform layer (the graphics
// backend makes its GL context on it). Never included by game code.
#pragma once

struct SDL_Window;

namespace platform {

// The game window, or nullptr before it exists and in headless runs.
SDL_Window* sdlWindow();

// Window options chosen on the command line.
struct SdlWindowOptions {
    bool windowed = false;  // a resizable window instead of borderless full screen
    bool dialogs = true;    // show message boxes on screen (they always go to stderr)
    int width = 1024;       // the window's size when not full screen
    int height = 768;
};
void setSdlWindowOptions(const SdlWindowOptions& options);

// How the window is now, for the settings saved at the end: full screen or
// not, and its size when not (while full screen, the size it was given).
struct SdlWindowState {
    bool fullscreen = false;
    int width = 0;
    int height = 0;
};
// False before the window exists and after it is gone.
bool sdlWindowState(SdlWindowState& out);

}  // namespace platform
