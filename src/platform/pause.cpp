#include "platform/pause.h"

#include <vector>

#include "platform/audio/audio_output.h"
#include "platform/gfx/d3d9.h"
#include "platform/gfx/device_registry.h"
#include "platform/gfx/file_read.h"
#include "platform/gfx/png_image.h"

namespace platform {

namespace {

bool g_paused = false;

// The caption as straight RGBA, its black made transparent as the pack's
// blended images are; nothing when the file is missing or bad.
bool loadCaption(const std::string& path, gfx::MipLevel& out) {
    std::vector<std::uint8_t> bytes;
    if (!gfx::readAssetFile(path.c_str(), bytes)) return false;
    bool hasAlpha = false;
    if (!gfx::decodePng(bytes.data(), bytes.size(), out, hasAlpha)) return false;
    gfx::applyColorKey(out, D3DCOLOR_ARGB(255, 0, 0, 0));
    return true;
}

}  // namespace

void setPaused(bool on, const std::string& captionPath) {
    if (on == g_paused) return;
    g_paused = on;
    audio::pauseOutput(on);
    IDirect3DDevice9* device = gfx::currentDevice();
    if (!device) return;
    if (on) {
        gfx::MipLevel caption;
        const bool haveCaption = loadCaption(captionPath, caption);
        device->backend().beginPause(haveCaption ? &caption : nullptr);
        device->backend().presentPaused();
    } else {
        device->backend().endPause();
    }
}

bool paused() { return g_paused; }

void showPausedPicture() {
    if (!g_paused) return;
    if (IDirect3DDevice9* device = gfx::currentDevice()) device->backend().presentPaused();
}

}  // namespace platform
