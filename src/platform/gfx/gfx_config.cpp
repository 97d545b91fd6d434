// The layer's process-wide settings and the harness hooks.
#include "platform/gfx/gfx_config.h"

#include "platform/gfx/d3d9.h"
#include "platform/gfx/device_registry.h"

namespace platform::gfx {

namespace {
GfxConfig g_config;
CreationFailures g_failures;
std::uint64_t g_frame = 0;
IDirect3DDevice9* g_device = nullptr;
FrameTimes g_frameTimes;
bool g_screenshotFailed = false;
bool g_frameDrawn = true;

bool screenshotThisFrame() {
    for (const auto& shot : g_config.screenshots)
        if (shot.first == g_frame) return true;
    return false;
}
}  // namespace

int g_pendingPresentFailures = 0;
int g_pendingBufferFailures = 0;
int g_pendingViewportFailures = 0;

void configure(const GfxConfig& config) { g_config = config; }
const GfxConfig& config() { return g_config; }

void setCreationFailures(const CreationFailures& failures) { g_failures = failures; }
const CreationFailures& creationFailures() { return g_failures; }

void failPresents(int count) { g_pendingPresentFailures = count; }
void failVertexBuffers(int count) { g_pendingBufferFailures = count; }
void failViewports(int count) { g_pendingViewportFailures = count; }

void setCurrentFrame(std::uint64_t frame) {
    g_frame = frame;
    if (g_device) g_device->log().clear();
}
std::uint64_t currentFrame() { return g_frame; }

FrameTimes& frameTimes() { return g_frameTimes; }

bool screenshotFailed() { return g_screenshotFailed; }
void noteScreenshotFailed() { g_screenshotFailed = true; }

bool frameWanted() {
    if (screenshotThisFrame()) return true;
    return g_device ? g_device->backend().beginFrame() : true;
}
void windowPictureLost() {
    if (g_device) g_device->backend().pictureLost();
}
void setFrameDrawn(bool drawn) { g_frameDrawn = drawn; }
bool frameDrawn() { return g_frameDrawn; }

bool pictureWanted() {
    if (!g_config.headless) return g_frameDrawn || screenshotThisFrame();
    return g_frameTimes.active() || screenshotThisFrame();
}

CallList frameCalls() { return g_device ? g_device->log().calls() : CallList{}; }

void registerDevice(IDirect3DDevice9* device) { g_device = device; }
void unregisterDevice(IDirect3DDevice9* device) {
    if (g_device == device) g_device = nullptr;
}
IDirect3DDevice9* currentDevice() { return g_device; }

PipelineState::PipelineState() {
    D3DXMatrixIdentity(&world);
    D3DXMatrixIdentity(&view);
    D3DXMatrixIdentity(&projection);
    D3DXMatrixIdentity(&texture0);
    light0.Diffuse = {1, 1, 1, 0};
    light0.Direction = {0, 0, 1};
}

}  // namespace platform::gfx
