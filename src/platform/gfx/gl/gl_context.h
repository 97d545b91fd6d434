// GlContext: the OpenGL 3.3 core context of a device, made on the game's SDL
// window or, in headless runs, on a hidden window of SDL's offscreen driver.
// The three kinds match the device types the game tries in turn.
#pragma once

#include <memory>
#include <string>

struct SDL_Window;

namespace platform::gfx {

enum class GlDeviceKind {
    Accelerated,  // a hardware renderer only
    Any,          // any 3.3 core renderer
    Software,     // Mesa's software rasteriser (the reference device)
};

class GlContext {
public:
    // nullptr with the reason in `error`.
    static std::unique_ptr<GlContext> create(GlDeviceKind kind, std::string& error);
    ~GlContext();

    bool offscreen() const { return ownWindow_; }
    const std::string& renderer() const { return renderer_; }
    // Pixels of the window's drawable (800 x 600 off screen).
    void drawableSize(int& w, int& h) const;
    // Shows the default framebuffer; waits for the retrace when vsync is on.
    void swap();
    // Vsync is on and the display refreshes at 60 Hz, so swapping paces frames.
    bool vsyncAt60() const { return vsyncAt60_; }
    // The window is still there to draw on (the game may have closed it).
    bool alive() const;

private:
    friend void paintWindowBackground(SDL_Window* window);
    GlContext() = default;
    // A context on `window`, or on a hidden offscreen one when it is null.
    static std::unique_ptr<GlContext> make(SDL_Window* window, std::string& error);
    void setSwapInterval();  // of the current context, for its window
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    bool ownWindow_ = false;
    bool vsyncAt60_ = false;
    std::string renderer_;
};

bool isSoftwareRenderer(const std::string& renderer);

// Paints a newly shown game window black, as its class's black brush would,
// before the device and the pack are loaded; the device takes the context
// this makes. Nothing happens when no context can be made here.
void paintWindowBackground(SDL_Window* window);

// Keeps the GL driver's libraries loaded until the process ends: EGL and GLX
// unload them with their last display or window, and tests make and drop many
// devices. It also lets the leak checker of sanitizer builds see where Mesa's
// own lasting allocations come from.
void pinDriverLibraries();

}  // namespace platform::gfx
