// Kept apart from the rest of the layer: Xlib's headers define names
// (Window, None, Status) that the layer's own headers use too.
#include "platform/sdl/window_size.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#endif

namespace platform {

void windowPixelSize(SDL_Window* window, int& width, int& height) {
    width = height = 0;
    if (!window) return;
    SDL_GL_GetDrawableSize(window, &width, &height);
#if defined(SDL_VIDEO_DRIVER_X11)
    // Every real resize reaches SDL as an X event; only its own switch to
    // full screen makes it take a size the X server has not confirmed. So
    // the round trip to the server is made only then, not every frame.
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    ::Window root;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    if (XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &w, &h, &border, &depth)) {
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }
#endif
}

}  // namespace platform
