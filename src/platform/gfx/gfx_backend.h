// GfxBackend: the narrow contract between the Direct3D-style device and what
// actually draws. The device keeps all state and validates calls; a backend
// only stores resources, draws with a given PipelineState and presents.
// Implemented by the GL 3.3 backend and by the recording backend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/pipeline_state.h"

namespace platform::gfx {

// One mip level of a texture: RGBA8, rows top to bottom, not premultiplied.
struct MipLevel {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

// A texture as its file gave it: level 0, decoded, and the colour key. Its
// levels (textureLevels) are made only when a backend needs them: the
// recording backend never does, the GL backend on a thread of its own.
struct TextureSource {
    MipLevel image;
    D3DCOLOR colorKey = 0;
};

// The layout of one vertex, decoded from a flexible vertex format.
struct VertexLayout {
    DWORD fvf = 0;
    int stride = 0;
    int normalOffset = -1;   // -1 when absent
    int diffuseOffset = -1;
    int texOffset = -1;
    static bool fromFvf(DWORD fvf, VertexLayout& out);  // false for unsupported bits
};

struct DrawCall {
    std::uint32_t buffer = 0;      // backend buffer holding the vertices
    std::size_t byteOffset = 0;    // of vertex 0 in that buffer
    VertexLayout layout;
    D3DPRIMITIVETYPE primitive = D3DPT_TRIANGLELIST;
    int firstVertex = 0;
    int vertexCount = 0;
};

class GfxBackend {
public:
    virtual ~GfxBackend() = default;

    virtual const char* name() const = 0;

    // Resources; handles are never 0.
    virtual std::uint32_t createTexture(TextureSource source) = 0;
    virtual void releaseTexture(std::uint32_t handle) = 0;
    virtual std::uint32_t createBuffer(std::size_t bytes) = 0;
    virtual void updateBuffer(std::uint32_t handle, std::size_t offset, const void* data,
                              std::size_t bytes) = 0;
    virtual void releaseBuffer(std::uint32_t handle) = 0;

    // A frame. beginFrame says whether the frame about to be rendered is
    // drawn at all (a window's backend skips frames while running behind);
    // a frame not drawn makes no clear or draw calls here, only its present.
    virtual bool beginFrame() { return true; }
    virtual void clear(DWORD flags, D3DCOLOR color, float z) = 0;
    virtual void draw(const PipelineState& state, const DrawCall& call) = 0;
    // false when the picture could not be shown (the device is lost).
    virtual bool present() = 0;
    virtual bool reset() = 0;

    // The picture last composed, 800 x 600 RGBA rows top to bottom (empty
    // when the backend draws nothing).
    virtual std::vector<std::uint8_t> readPixels() { return {}; }
    // The game's pause: keep the picture last presented, show it dimmed
    // under `caption` (straight RGBA; null: none) on each presentPaused, and
    // let it go at endPause. Nothing of this touches the next frame.
    virtual void beginPause(const MipLevel* caption) { (void)caption; }
    virtual void presentPaused() {}
    virtual void endPause() {}
    // The window lost what it showed (uncovered, say): draw the next frame
    // even if it is the same as the last.
    virtual void pictureLost() {}
    // Waits until everything asked so far has been drawn (for timing).
    virtual void finish() {}
};

}  // namespace platform::gfx
