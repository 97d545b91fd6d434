// The size in pixels a window really has on screen. Under X11 with no window
// manager, a switch to full screen is never carried out, yet SDL takes the
// desktop's size for the window's; the X server knows better.
#pragma once

struct SDL_Window;

namespace platform {

// The window's drawable size: the X server's answer for a full-screen
// window under X11, SDL's otherwise. Zero sizes when it cannot be told.
void windowPixelSize(SDL_Window* window, int& width, int& height);

}  // namespace platform
