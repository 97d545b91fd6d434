// The World's frame benchmark: all 57 units of the twelve enemy groups in
// play, each with its shot, and all 40 explosion slots running, with the
// real asset pack. Each timed frame is what the game does in play: the
// ship's steering (the stage clock), then the World's frame between the
// clear and the present. Prints the median and 90th-percentile frame time,
// the draw calls and the heap allocations per frame, on the recording
// backend (call log on, as headless runs have it, and off) and on the GL
// backend off screen at 800 x 600.
//   bench_world [--frames N] [--assets DIR] [--picture FILE.png]
// The asset pack is looked for next to the program unless --assets says.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "platform/headless/headless_backend.h"
#include "player/player_ship.h"
#include "world/world.h"

using namespace platform;
namespace fs = std::filesystem;

// ---- Heap allocations of the main thread while a frame is timed.

namespace {
thread_local bool t_counting = false;
std::atomic<std::uint64_t> g_allocations{0};

void* allocate(std::size_t size) {
    if (t_counting) g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* allocateAligned(std::size_t size, std::align_val_t align) {
    if (t_counting) g_allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (std::max<std::size_t>(size, 1) + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

LRESULT quitOnDestroy(HWND, unsigned message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return 0;
}

// ---- The busy field.

// Unit n of 57: a grid over the play band, one unit deeper than the last.
void spreadUnit(Placement& p, int n) {
    p.x = -7.0 + 2.0 * (n % 8);
    p.y = 3.0 + 2.0 * ((n / 8) % 4);
    p.z = 10.0 + 1.5 * n;
}

Placement blastSpot(int n) {
    Placement p;
    p.x = -8.0 + 0.8 * (n % 20);
    p.y = 2.0 + 2.0 * (n % 5);
    p.z = 2.0 * (n % 20);
    return p;
}

// Every explosion slot that has run its sixteen cells starts again.
void refillBlasts(World& w) {
    for (int i = 0; i < Effect::poolSize; ++i) {
        if (!w.shotBlast.placements[i].active) w.shotBlast.spawnAt(blastSpot(i));
        if (!w.missileBlast.placements[i].active) w.missileBlast.spawnAt(blastSpot(i + Effect::poolSize));
    }
}

// A hard game in which every wave of every group has entered play at once:
// each unit active with its own shot slot, its group's fire running.
void stage(World& w, PlayerShip& ship) {
    w.reset(2);
    w.setDifficulty(2);
    ship.setPosition(0, 0.0, 5.0, -7.0, 1, 0);
    int n = 0;
    for (int k = 0; k < World::groupCount; ++k) {
        EnemyGroup& g = w.group(k);
        for (int i = 0; i < g.slotCount; ++i) {
            Placement& p = g.placements[i];
            spreadUnit(p, n++);
            p.active = 1;
            p.link = w.enemyShots.claimFreeSlot();
            w.enemyShots.arm(p.link);
        }
        g.appeared = 1;
        w.lastCue[k] = g.placements[0].cue;
    }
    refillBlasts(w);
}

// Between timed frames: units about to fly past go back to the far end
// (a unit whose shot was given up claims a new one), finished explosions
// start again, and the clock stays short of the bosses' cues.
void keepInPlay(World& w) {
    int n = 0;
    for (int k = 0; k < World::groupCount; ++k) {
        EnemyGroup& g = w.group(k);
        for (int i = 0; i < g.slotCount; ++i, ++n) {
            Placement& p = g.placements[i];
            if (!p.active || p.z < -20.0) {
                spreadUnit(p, n);
                p.active = 1;
            }
            if (p.link == NoLink) {
                p.link = w.enemyShots.claimFreeSlot();
                w.enemyShots.arm(p.link);
            }
        }
    }
    refillBlasts(w);
    if (w.clock.tick >= 4000) w.clock.tick = 1000;
}

int unitsActive(World& w) {
    int n = 0;
    for (int k = 0; k < World::groupCount; ++k)
        for (int i = 0; i < w.group(k).slotCount; ++i) n += w.group(k).placements[i].active;
    return n;
}

// ---- The device and the timing loop.

// The render states and the camera the display sets up at start-up.
void setUpDevice(IDirect3DDevice9* d) {
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRS_ZENABLE, 1);
    D3DLIGHT9 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    D3DXVECTOR3 dir(0.0f, -0.5f, 1.0f);
    D3DXVec3Normalize(&dir, &dir);
    light.Direction = {dir.x, dir.y, dir.z};
    d->SetLight(0, &light);
    d->LightEnable(0, 1);
    d->SetRenderState(D3DRS_LIGHTING, 1);
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(0.0f, 7.0f, -30.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &projection);
}

struct Figures {
    double medianMs = 0, p90Ms = 0;
    double draws = 0, calls = 0, allocations = 0;
    int fewestUnits = 0, fewestShots = 0;
    bool loaded = false;
};

std::uint64_t g_frame = 0;

// One frame of play: steering, then the World's frame inside the scene.
void playFrame(IDirect3DDevice9* d, World& w, PlayerShip& ship) {
    gfx::setCurrentFrame(g_frame++);  // the harness's per-frame step: the call log starts afresh
    ship.steer(0, 0, w);
    w.setInput(0);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff88d9ff, 1.0f, 0);
    d->BeginScene();
    w.frame();
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    d->backend().finish();
}

bool allLoaded(World& w) {
    for (int k = 0; k < World::groupCount; ++k)
        if (!w.group(k).graphics.mesh) return false;
    return w.enemyShots.graphics.mesh && w.enemyShots.secondLook.mesh && w.shotBlast.graphics.quadTexture &&
           w.missileBlast.graphics.quadTexture && w.background.textures[Background::textureCount - 1];
}

Figures measure(IDirect3DDevice9* d, HWND window, int frames, bool callLog, const char* picture) {
    Figures f;
    ID3DXSprite* sprite = nullptr;
    D3DXCreateSprite(d, &sprite);
    setUpDevice(d);
    auto world = std::make_unique<World>();
    PlayerShip ship;
    world->attachAll(d, window, sprite);
    world->loadAll();
    f.loaded = allLoaded(*world);
    d->log().setEnabled(callLog);

    stage(*world, ship);
    for (int i = 0; i < 30; ++i) {  // warm-up
        playFrame(d, *world, ship);
        keepInPlay(*world);
    }
    std::vector<double> ms;
    ms.reserve(frames);
    const std::uint64_t draws0 = d->drawCount();
    std::uint64_t calls = 0;
    f.fewestUnits = f.fewestShots = 1000;
    g_allocations = 0;
    for (int i = 0; i < frames; ++i) {
        f.fewestUnits = std::min(f.fewestUnits, unitsActive(*world));
        int shots = 0;
        for (const Placement& s : world->enemyShots.placements) shots += s.active;
        f.fewestShots = std::min(f.fewestShots, shots);
        const auto t0 = std::chrono::steady_clock::now();
        t_counting = true;
        playFrame(d, *world, ship);
        t_counting = false;
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        calls += d->log().calls().size();
        keepInPlay(*world);
    }
    f.draws = double(d->drawCount() - draws0) / frames;
    f.calls = double(calls) / frames;
    f.allocations = double(g_allocations.load()) / frames;
    if (picture) {
        const auto px = d->backend().readPixels();
        if (!px.empty()) gfx::writePng(picture, 800, 600, px);
    }
    world.reset();
    if (sprite) sprite->Release();
    std::sort(ms.begin(), ms.end());
    f.medianMs = ms[ms.size() / 2];
    f.p90Ms = ms[std::min(ms.size() - 1, ms.size() * 9 / 10)];
    return f;
}

IDirect3DDevice9* createDevice(IDirect3D9* d3d, HWND window) {
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = 800;
    params.BackBufferHeight = 600;
    params.EnableAutoDepthStencil = 1;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice9* device = nullptr;
    d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                      &device);
    return device;
}

void report(const char* what, const Figures& f) {
    std::printf("%s: median %.3f ms, p90 %.3f ms, %.0f draw calls, %.0f calls logged, "
                "%.2f heap allocations per frame (units in play >= %d of %d, enemy shots >= %d)%s\n",
                what, f.medianMs, f.p90Ms, f.draws, f.calls, f.allocations, f.fewestUnits, World::enemySlots,
                f.fewestShots, f.loaded ? "" : " [some assets did not load]");
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 300;
    const char* picture = nullptr;
    fs::path assets = fs::read_symlink("/proc/self/exe").parent_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0) frames = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--assets") == 0) assets = argv[i + 1];
        if (std::strcmp(argv[i], "--picture") == 0) picture = argv[i + 1];
    }
    const fs::path picturePath = picture ? fs::absolute(picture) : fs::path();
    std::error_code ec;
    fs::current_path(assets, ec);
    if (ec || !fs::exists("x/teki04.x")) {
        std::fprintf(stderr, "bench_world: no asset pack in %s (build the assets target, or pass --assets)\n",
                     assets.string().c_str());
        return 1;
    }

    installBackend(std::make_unique<HeadlessBackend>(InputScript{}, 0, 0));
    WNDCLASSEX wc;
    wc.className = "bench";
    wc.lpfnWndProc = quitOnDestroy;
    RegisterClassEx(wc);
    HWND window = CreateWindowEx("bench", "TERVO", 1024, 768);

    // The recording backend, as a headless run without pictures makes it.
    gfx::GfxConfig config;
    config.headless = true;
    gfx::configure(config);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* rec = createDevice(d3d, window);
    if (!rec) {
        std::fprintf(stderr, "bench_world: no recording device\n");
        return 1;
    }
    report("recording backend, call log on (headless runs)", measure(rec, window, frames, true, nullptr));
    report("recording backend, call log off", measure(rec, window, frames, false, nullptr));
    rec->Release();

    // The GL backend: a device that draws every frame, off screen.
    config.headless = false;
    gfx::configure(config);
    IDirect3DDevice9* gl = createDevice(d3d, window);
    if (!gl) {
        std::printf("gl backend: not available\n");
    } else {
        const auto* backend = dynamic_cast<gfx::GlBackend*>(&gl->backend());
        const std::string what = "gl backend (" + (backend ? backend->renderer() : std::string("?")) +
                                 "), 800 x 600 off screen, call log off";
        report(what.c_str(), measure(gl, window, frames, false, picture ? picturePath.c_str() : nullptr));
        gl->Release();
    }
    d3d->Release();
    DestroyWindow(window);
    return 0;
}
