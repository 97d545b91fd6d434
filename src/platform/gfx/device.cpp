// IDirect3DDevice9: keeps the fixed-function state, checks each call as
// Direct3D would, records it when asked and hands draws to the backend.
#include "platform/gfx/d3d9.h"

#include <cstdio>

#include "platform/gfx/device_registry.h"
#include "platform/gfx/gfx_config.h"
#include "platform/gfx/png_image.h"
#include "platform/gfx/png_read_ahead.h"
#include "platform/os.h"

namespace platform {

using gfx::DrawCall;
using gfx::VertexLayout;

D3DCOLOR D3DCOLOR_COLORVALUE(float r, float g, float b, float a) {
    auto byte = [](float v) {
        v = v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
        return static_cast<unsigned>(v * 255.0f + 0.5f);
    };
    return D3DCOLOR_ARGB(byte(a), byte(r), byte(g), byte(b));
}

namespace gfx {
extern int g_pendingBufferFailures;    // gfx_config.cpp
extern int g_pendingViewportFailures;  // gfx_config.cpp

bool VertexLayout::fromFvf(DWORD fvf, VertexLayout& out) {
    if ((fvf & D3DFVF_XYZ) == 0) return false;
    if (fvf & ~(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1)) return false;
    VertexLayout l;
    l.fvf = fvf;
    int offset = 12;
    if (fvf & D3DFVF_NORMAL) l.normalOffset = offset, offset += 12;
    if (fvf & D3DFVF_DIFFUSE) l.diffuseOffset = offset, offset += 4;
    if (fvf & D3DFVF_TEX1) l.texOffset = offset, offset += 8;
    l.stride = offset;
    out = l;
    return true;
}
}  // namespace gfx

namespace {
// A matrix call's arguments: the slot, then the 16 elements row by row.
void addMatrixCall(gfx::CallLog& log, const char* op, double slot, const D3DXMATRIX& m) {
    gfx::GfxCall* c = log.begin(op);
    if (!c) return;
    c->args.push_back(slot);
    for (int i = 0; i < 16; ++i) c->args.push_back(m.m[i / 4][i % 4]);
}
}  // namespace

IDirect3DDevice9::IDirect3DDevice9(std::unique_ptr<gfx::GfxBackend> backend)
    : backend_(std::move(backend)) {
    const auto& cfg = gfx::config();
    log_.setEnabled(cfg.recordCalls || cfg.headless);
    gfx::registerDevice(this);
}

IDirect3DDevice9::~IDirect3DDevice9() { gfx::unregisterDevice(this); }

HRESULT IDirect3DDevice9::Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color,
                                float z, DWORD) {
    if (count != 0 || rects != nullptr) return D3DERR_INVALIDCALL;  // whole target only
    log_.add("Clear", {double(flags), double(color), z});
    if (gfx::pictureWanted()) backend_->clear(flags, color, z);
    return S_OK;
}

HRESULT IDirect3DDevice9::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    log_.add("BeginScene");
    return S_OK;
}

HRESULT IDirect3DDevice9::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    log_.add("EndScene");
    return S_OK;
}

HRESULT IDirect3DDevice9::Present(const RECT*, const RECT*, Window*, const void*) {
    for (const auto& [frame, path] : gfx::config().screenshots) {
        if (frame != gfx::currentFrame()) continue;
        const std::vector<std::uint8_t> pixels = backend_->readPixels();
        if (pixels.empty() || !gfx::writePng(path.c_str(), 800, 600, pixels)) {
            std::fprintf(stderr, "gfx: picture of frame %llu not written to %s\n",
                         static_cast<unsigned long long>(frame), path.c_str());
            gfx::noteScreenshotFailed();
        }
    }
    const bool shown = backend_->present();
    if (gfx::frameTimes().active()) {
        backend_->finish();
        gfx::frameTimes().frameDone(gfx::currentFrame(), drawCount_, gfx::pictureWanted());
    }
    gfx::stopPngReadAhead();  // what the loader has not taken by now is not needed
    ++presents_;
    log_.add("Present", {shown ? 0.0 : 1.0});
    platform::framePresented();
    return shown ? S_OK : D3DERR_DEVICELOST;
}

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS*) {
    const bool ok = backend_->reset();
    log_.add("Reset", {ok ? 0.0 : 1.0});
    return ok ? S_OK : D3DERR_DEVICELOST;
}

HRESULT IDirect3DDevice9::GetViewport(D3DVIEWPORT9* viewport) const {
    if (!viewport) return D3DERR_INVALIDCALL;
    if (gfx::g_pendingViewportFailures > 0) {
        --gfx::g_pendingViewportFailures;
        return D3DERR_INVALIDCALL;
    }
    *viewport = D3DVIEWPORT9{0, 0, 800, 600, 0.0f, 1.0f};
    return S_OK;
}

HRESULT IDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE slot, const D3DXMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    switch (slot) {
        case D3DTS_WORLD: state_.world = *matrix; break;
        case D3DTS_VIEW: state_.view = *matrix; break;
        case D3DTS_PROJECTION: state_.projection = *matrix; break;
        case D3DTS_TEXTURE0: state_.texture0 = *matrix; break;
        default: return D3DERR_INVALIDCALL;
    }
    addMatrixCall(log_, "SetTransform", slot, *matrix);
    return S_OK;
}

HRESULT IDirect3DDevice9::GetTransform(D3DTRANSFORMSTATETYPE slot, D3DXMATRIX* matrix) const {
    if (!matrix) return D3DERR_INVALIDCALL;
    switch (slot) {
        case D3DTS_WORLD: *matrix = state_.world; return S_OK;
        case D3DTS_VIEW: *matrix = state_.view; return S_OK;
        case D3DTS_PROJECTION: *matrix = state_.projection; return S_OK;
        case D3DTS_TEXTURE0: *matrix = state_.texture0; return S_OK;
        default: return D3DERR_INVALIDCALL;
    }
}

namespace {
// Where each render state lives in PipelineState (nullptr: kept nowhere).
DWORD* dwordState(gfx::PipelineState& s, D3DRENDERSTATETYPE t) {
    switch (t) {
        case D3DRS_SRCBLEND: return &s.srcBlend;
        case D3DRS_DESTBLEND: return &s.destBlend;
        case D3DRS_CULLMODE: return &s.cullMode;
        case D3DRS_ZFUNC: return &s.zFunc;
        case D3DRS_ALPHAREF: return &s.alphaRef;
        case D3DRS_ALPHAFUNC: return &s.alphaFunc;
        case D3DRS_AMBIENT: return &s.ambient;
        case D3DRS_DIFFUSEMATERIALSOURCE: return &s.diffuseSource;
        case D3DRS_AMBIENTMATERIALSOURCE: return &s.ambientSource;
        case D3DRS_EMISSIVEMATERIALSOURCE: return &s.emissiveSource;
        default: return nullptr;
    }
}
bool* boolState(gfx::PipelineState& s, D3DRENDERSTATETYPE t) {
    switch (t) {
        case D3DRS_ZENABLE: return &s.zEnable;
        case D3DRS_ZWRITEENABLE: return &s.zWriteEnable;
        case D3DRS_ALPHATESTENABLE: return &s.alphaTestEnable;
        case D3DRS_DITHERENABLE: return &s.ditherEnable;
        case D3DRS_ALPHABLENDENABLE: return &s.alphaBlendEnable;
        case D3DRS_LIGHTING: return &s.lighting;
        case D3DRS_COLORVERTEX: return &s.colorVertex;
        case D3DRS_NORMALIZENORMALS: return &s.normalizeNormals;
        default: return nullptr;
    }
}
}  // namespace

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE type, DWORD value) {
    if (DWORD* d = dwordState(state_, type)) {
        *d = value;
    } else if (bool* b = boolState(state_, type)) {
        *b = value != 0;
    }
    // Other states are accepted and have no effect here.
    log_.add("SetRenderState", {double(type), double(value)});
    return S_OK;
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE type, DWORD* value) const {
    if (!value) return D3DERR_INVALIDCALL;
    auto& s = const_cast<gfx::PipelineState&>(state_);
    if (DWORD* d = dwordState(s, type)) {
        *value = *d;
    } else if (bool* b = boolState(s, type)) {
        *value = *b ? 1 : 0;
    } else {
        return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                               DWORD value) {
    if (stage >= 8) return D3DERR_INVALIDCALL;
    log_.add("SetTextureStageState", {double(stage), double(type), double(value)});
    if (stage != 0) return S_OK;  // only stage 0 draws
    gfx::TextureStage& s = state_.stage0;
    switch (type) {
        case D3DTSS_COLOROP: s.colorOp = value; break;
        case D3DTSS_COLORARG1: s.colorArg1 = value; break;
        case D3DTSS_COLORARG2: s.colorArg2 = value; break;
        case D3DTSS_ALPHAOP: s.alphaOp = value; break;
        case D3DTSS_ALPHAARG1: s.alphaArg1 = value; break;
        case D3DTSS_ALPHAARG2: s.alphaArg2 = value; break;
        case D3DTSS_TEXTURETRANSFORMFLAGS: s.transformFlags = value; break;
        default: break;
    }
    return S_OK;
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= 16) return D3DERR_INVALIDCALL;
    log_.add("SetSamplerState", {double(sampler), double(type), double(value)});
    if (sampler != 0) return S_OK;
    gfx::SamplerState& s = state_.sampler0;
    switch (type) {
        case D3DSAMP_ADDRESSU: s.addressU = value; break;
        case D3DSAMP_ADDRESSV: s.addressV = value; break;
        case D3DSAMP_MAGFILTER: s.magFilter = value; break;
        case D3DSAMP_MINFILTER: s.minFilter = value; break;
        case D3DSAMP_MIPFILTER: s.mipFilter = value; break;
        default: break;
    }
    return S_OK;
}

HRESULT IDirect3DDevice9::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    log_.add("SetLight", {double(index), double(light->Type), light->Diffuse.r, light->Diffuse.g,
                          light->Diffuse.b, light->Direction.x, light->Direction.y,
                          light->Direction.z});
    if (index == 0) state_.light0 = *light;  // the game lights with light 0 only
    return S_OK;
}

HRESULT IDirect3DDevice9::LightEnable(DWORD index, BOOL enable) {
    log_.add("LightEnable", {double(index), double(enable != 0)});
    if (index == 0) state_.light0Enabled = enable != 0;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetMaterial(const D3DMATERIAL9* m) {
    if (!m) return D3DERR_INVALIDCALL;
    state_.material = *m;
    log_.add("SetMaterial", {m->Diffuse.r, m->Diffuse.g, m->Diffuse.b, m->Diffuse.a,
                             m->Emissive.r, m->Emissive.g, m->Emissive.b, m->Power});
    return S_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DTexture9* texture) {
    if (stage >= 8) return D3DERR_INVALIDCALL;
    log_.add("SetTexture", {double(stage), texture ? double(texture->handle()) : 0.0});
    if (stage != 0) return S_OK;
    boundTexture_ = texture;
    state_.texture0Handle = texture ? texture->handle() : 0;
    return S_OK;
}

HRESULT IDirect3DDevice9::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL,
                                             IDirect3DVertexBuffer9** out, void*) {
    if (!out || length == 0 || length > (64u << 20)) return D3DERR_INVALIDCALL;
    if (gfx::g_pendingBufferFailures > 0) {
        --gfx::g_pendingBufferFailures;
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    const std::uint32_t handle = backend_->createBuffer(length);
    if (handle == 0) return E_OUTOFMEMORY;
    *out = new IDirect3DVertexBuffer9(this, handle, length, fvf);
    log_.add("CreateVertexBuffer", {double(length), double(fvf), double(handle)});
    return S_OK;
}

HRESULT IDirect3DDevice9::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                          UINT stride) {
    if (stream != 0) return D3DERR_INVALIDCALL;
    stream0_ = buffer;
    stream0Offset_ = offset;
    stream0Stride_ = stride;
    log_.add("SetStreamSource",
             {double(stream), buffer ? double(buffer->handle()) : 0.0, double(offset), double(stride)});
    return S_OK;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf) {
    fvf_ = fvf;
    log_.add("SetFVF", {double(fvf)});
    return S_OK;
}

HRESULT IDirect3DDevice9::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) {
    log_.add("DrawPrimitive", {double(type), double(start), double(count)});
    if (!inScene_ || !stream0_ || count == 0) return D3DERR_INVALIDCALL;
    VertexLayout layout;
    if (!VertexLayout::fromFvf(fvf_, layout) || stream0Stride_ < UINT(layout.stride))
        return D3DERR_INVALIDCALL;
    layout.stride = static_cast<int>(stream0Stride_);
    std::uint64_t vertices = 0;
    switch (type) {
        case D3DPT_TRIANGLELIST: vertices = std::uint64_t{count} * 3; break;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: vertices = std::uint64_t{count} + 2; break;
        default: return D3DERR_INVALIDCALL;
    }
    const std::uint64_t end = stream0Offset_ + (std::uint64_t{start} + vertices) * stream0Stride_;
    if (end > stream0_->length()) return D3DERR_INVALIDCALL;
    DrawCall call;
    call.buffer = stream0_->handle();
    call.byteOffset = stream0Offset_;
    call.layout = layout;
    call.primitive = type;
    call.firstVertex = static_cast<int>(start);
    call.vertexCount = static_cast<int>(vertices);
    drawCall(call);
    return S_OK;
}

void IDirect3DDevice9::drawCall(const DrawCall& call) {
    ++drawCount_;
    if (gfx::pictureWanted()) backend_->draw(state_, call);
}

void IDirect3DDevice9::forget(const IDirect3DTexture9* texture) {
    if (boundTexture_ == texture) {
        boundTexture_ = nullptr;
        state_.texture0Handle = 0;
    }
}

void IDirect3DDevice9::forget(const IDirect3DVertexBuffer9* buffer) {
    if (stream0_ == buffer) stream0_ = nullptr;
}

}  // namespace platform
