// Context creation and presentation over SDL.
#include "platform/gfx/gl/gl_context.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/gfx/gfx_config.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/window_size.h"

namespace platform::gfx {

bool isSoftwareRenderer(const std::string& r) {
    return r.find("llvmpipe") != std::string::npos || r.find("softpipe") != std::string::npos ||
           r.find("swrast") != std::string::npos || r.find("Software") != std::string::npos;
}

namespace {
int pin(dl_phdr_info* info, std::size_t, void*) {
    const char* name = info->dlpi_name;
    if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium") ||
                 std::strstr(name, "libLLVM"))) {
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}
}  // namespace

void pinDriverLibraries() { dl_iterate_phdr(pin, nullptr); }

namespace {
// A context made on the game window before any device asked for one: the
// one that painted the new window black, or one refused for a hardware
// device because its renderer is software. The next device on that window
// takes it instead of making another (the driver would give it the very same
// renderer), unless it asks for the software rasteriser and this is not.
GlContext* g_waiting = nullptr;

bool onCurrentWindow(SDL_Window* window, bool ownWindow) {
    return ownWindow ? platform::sdlWindow() == nullptr : platform::sdlWindow() == window;
}
}  // namespace

void GlContext::setSwapInterval() {
    if (!ownWindow_) {
        // Vsync where the display runs at 60 Hz; elsewhere the pacer keeps time.
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(window_);
        const bool at60 = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 &&
                          mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
        vsyncAt60_ = at60 && SDL_GL_SetSwapInterval(1) == 0;
        if (!vsyncAt60_) SDL_GL_SetSwapInterval(0);
    } else {
        SDL_GL_SetSwapInterval(0);
    }
}

std::unique_ptr<GlContext> GlContext::create(GlDeviceKind kind, std::string& error) {
    std::unique_ptr<GlContext> waiting(std::exchange(g_waiting, nullptr));
    if (waiting && onCurrentWindow(waiting->window_, waiting->ownWindow_)) {
        const bool software = isSoftwareRenderer(waiting->renderer_);
        if (kind == GlDeviceKind::Accelerated && software) {
            error = "no hardware renderer (" + waiting->renderer_ + ")";
            g_waiting = waiting.release();
            return nullptr;
        }
        if (kind != GlDeviceKind::Software || software) {
            SDL_GL_MakeCurrent(waiting->window_, static_cast<SDL_GLContext>(waiting->context_));
            waiting->setSwapInterval();
            return waiting;
        }
    }
    waiting.reset();
    if (kind == GlDeviceKind::Software) setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    std::unique_ptr<GlContext> c = make(platform::sdlWindow(), error);
    if (!c) return nullptr;
    if (kind == GlDeviceKind::Accelerated && isSoftwareRenderer(c->renderer_)) {
        error = "no hardware renderer (" + c->renderer_ + ")";
        g_waiting = c.release();
        return nullptr;
    }
    c->setSwapInterval();
    return c;
}

std::unique_ptr<GlContext> GlContext::make(SDL_Window* window, std::string& error) {
    std::unique_ptr<GlContext> c(new GlContext);
    c->window_ = window;
    if (!c->window_) {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
                error = std::string("video: ") + SDL_GetError();
                return nullptr;
            }
        }
        c->window_ = SDL_CreateWindow("TERVO", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!c->window_) {
            error = std::string("window: ") + SDL_GetError();
            return nullptr;
        }
        c->ownWindow_ = true;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    c->context_ = SDL_GL_CreateContext(c->window_);
    if (!c->context_) {
        error = std::string("context: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GL_MakeCurrent(c->window_, static_cast<SDL_GLContext>(c->context_));
    if (epoxy_gl_version() < 33) {
        error = "OpenGL 3.3 is not available";
        return nullptr;
    }
    pinDriverLibraries();
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    c->renderer_ = renderer ? renderer : "";
    return c;
}

void paintWindowBackground(SDL_Window* window) {
    std::string error;
    std::unique_ptr<GlContext> c = GlContext::make(window, error);
    if (!c) return;  // the device reports it when it makes its own
    SDL_GL_SetSwapInterval(0);  // no wait for a retrace before the window shows
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    frameTimes().windowShown();
    delete std::exchange(g_waiting, c.release());
}

GlContext::~GlContext() {
    if (context_) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    if (ownWindow_ && window_) SDL_DestroyWindow(window_);
    // SDL's video stays up: shutting it down unloads the GL driver, and a
    // later device (tests make many) would load it all over again.
}

bool GlContext::alive() const { return ownWindow_ || platform::sdlWindow() == window_; }

void GlContext::drawableSize(int& w, int& h) const {
    if (ownWindow_) {
        w = 800, h = 600;
        return;
    }
    windowPixelSize(window_, w, h);
    if (w <= 0 || h <= 0) w = 800, h = 600;
}

void GlContext::swap() {
    if (!ownWindow_) SDL_GL_SwapWindow(window_);
}

}  // namespace platform::gfx
