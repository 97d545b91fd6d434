// The Direct3D 9 objects the game uses: the Direct3D object, the device with
// its fixed-function state, textures and vertex buffers. They keep the
// Direct3D names and reference counting (Release frees at zero); behind the
// device sits a GfxBackend (GL, or the recorder for tests and headless runs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/call_log.h"
#include "platform/gfx/d3d9types.h"
#include "platform/gfx/d3dx_math.h"
#include "platform/gfx/gfx_backend.h"
#include "platform/gfx/pipeline_state.h"
#include "platform/ref_counted.h"

namespace platform {

class IDirect3DDevice9;

// The graphics objects count their references like the rest of the layer.
using D3DUnknown = RefCounted;

struct D3DSURFACE_DESC {
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    UINT Width = 0, Height = 0;
};

class IDirect3DTexture9 final : public D3DUnknown {
public:
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const;
    DWORD GetLevelCount() const { return static_cast<DWORD>(levels_); }

    // Layer internals.
    IDirect3DTexture9(IDirect3DDevice9* device, std::uint32_t handle, int width, int height,
                      int levels, D3DFORMAT format);
    std::uint32_t handle() const { return handle_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    ~IDirect3DTexture9() override;
    IDirect3DDevice9* device_;
    std::uint32_t handle_;
    int width_, height_, levels_;
    D3DFORMAT format_;
};

class IDirect3DVertexBuffer9 final : public D3DUnknown {
public:
    // Whole buffer when offset and size are 0.
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();

    // Layer internals.
    IDirect3DVertexBuffer9(IDirect3DDevice9* device, std::uint32_t handle, UINT length, DWORD fvf);
    std::uint32_t handle() const { return handle_; }
    UINT length() const { return static_cast<UINT>(bytes_.size()); }
    const std::uint8_t* bytes() const { return bytes_.data(); }
    DWORD fvf() const { return fvf_; }  // the format it was created with

private:
    ~IDirect3DVertexBuffer9() override;
    IDirect3DDevice9* device_;
    std::uint32_t handle_;
    std::vector<std::uint8_t> bytes_;
    DWORD fvf_;
    bool locked_ = false;
    UINT lockOffset_ = 0, lockSize_ = 0;
};

class IDirect3DDevice9 final : public D3DUnknown {
public:
    HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil);
    HRESULT BeginScene();
    HRESULT EndScene();
    // Fails with D3DERR_DEVICELOST when the picture could not be shown.
    HRESULT Present(const RECT* src, const RECT* dst, Window* override, const void* dirty);
    HRESULT Reset(D3DPRESENT_PARAMETERS* params);
    HRESULT GetViewport(D3DVIEWPORT9* viewport) const;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix);
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DXMATRIX* matrix) const;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) const;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light);
    HRESULT LightEnable(DWORD index, BOOL enable);
    HRESULT SetMaterial(const D3DMATERIAL9* material);
    HRESULT SetTexture(DWORD stage, IDirect3DTexture9* texture);  // nullptr unbinds

    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** out, void* sharedHandle);
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride);
    HRESULT SetFVF(DWORD fvf);
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount);

    // Layer internals, used by the D3DX objects, the harness and tests.
    IDirect3DDevice9(std::unique_ptr<gfx::GfxBackend> backend);
    gfx::GfxBackend& backend() { return *backend_; }
    gfx::PipelineState& state() { return state_; }
    const gfx::PipelineState& state() const { return state_; }
    gfx::CallLog& log() { return log_; }
    // Draws with the current state (meshes and the sprite come through here).
    void drawCall(const gfx::DrawCall& call);
    // Draw calls since the device was made (for the benchmark).
    std::uint64_t drawCount() const { return drawCount_; }
    // Presents since the device was made: which frame a call belongs to.
    std::uint64_t presents() const { return presents_; }
    bool inScene() const { return inScene_; }
    IDirect3DTexture9* boundTexture() const { return boundTexture_; }
    // Puts back a state saved earlier (the sprite's End).
    void restoreState(const gfx::PipelineState& state, IDirect3DTexture9* texture) {
        state_ = state;
        boundTexture_ = texture;
    }
    // A resource going away is unbound first.
    void forget(const IDirect3DTexture9* texture);
    void forget(const IDirect3DVertexBuffer9* buffer);

private:
    ~IDirect3DDevice9() override;
    std::unique_ptr<gfx::GfxBackend> backend_;
    gfx::PipelineState state_;
    gfx::CallLog log_;
    IDirect3DTexture9* boundTexture_ = nullptr;  // not owned
    IDirect3DVertexBuffer9* stream0_ = nullptr;  // not owned
    UINT stream0Offset_ = 0, stream0Stride_ = 0;
    DWORD fvf_ = 0;
    bool inScene_ = false;
    std::uint64_t drawCount_ = 0;
    std::uint64_t presents_ = 0;
};

class IDirect3D9 final : public D3DUnknown {
public:
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode);
    // HAL with hardware vertex processing: an accelerated GL 3.3 core context;
    // HAL with software vertex processing: any GL 3.3 core context;
    // REF: Mesa's software rasteriser. Each fails on its own, so the caller
    // can report the fall-backs.
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, Window* focus, DWORD behaviour,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** out);

    IDirect3D9() = default;

private:
    ~IDirect3D9() override = default;
};

// nullptr when the SDK version is not the one the game was built for.
IDirect3D9* Direct3DCreate9(UINT sdkVersion);

}  // namespace platform
