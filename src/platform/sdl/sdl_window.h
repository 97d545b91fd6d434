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
};
void setSdlWindowOptions(const SdlWindowOptions& options);

}  // namespace platform
