// ID3DXSprite: screen-space quads with their own pipeline state between
// Begin and End.
#include <cstring>

#include "platform/gfx/d3dx9.h"

namespace platform {

namespace {
constexpr DWORD kSpriteFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
struct SpriteVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 24);
// Quads go round a ring of slots instead of rewriting one: a software
// rasteriser finishes every queued draw before a buffer it reads is
// rewritten, so one shared quad would render the frame once per sprite.
constexpr std::uint32_t kQuadSlots = 256;
}  // namespace

ID3DXSprite::ID3DXSprite(IDirect3DDevice9* device) : device_(device) {
    device_->AddRef();
    D3DXMatrixIdentity(&transform_);
    buffer_ = device_->backend().createBuffer(kQuadSlots * 4 * sizeof(SpriteVertex));
}

ID3DXSprite::~ID3DXSprite() {
    if (begun_) device_->restoreState(saved_, savedTexture_);
    if (buffer_) device_->backend().releaseBuffer(buffer_);
    device_->Release();
}

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** out) {
    if (!device || !out) return D3DERR_INVALIDCALL;
    *out = new ID3DXSprite(device);
    return S_OK;
}

HRESULT ID3DXSprite::Begin(DWORD flags) {
    device_->log().add("Sprite.Begin", {double(flags)});
    if (begun_ || flags != 0 || !device_->inScene()) return D3DERR_INVALIDCALL;
    begun_ = true;
    saved_ = device_->state();
    savedTexture_ = device_->boundTexture();
    // The sprite's own states; depth testing stays as the device has it, so
    // a sprite drawn at depth 0 hides what is drawn behind it later.
    gfx::PipelineState& s = device_->state();
    s.alphaBlendEnable = true;
    s.srcBlend = D3DBLEND_SRCALPHA;
    s.destBlend = D3DBLEND_INVSRCALPHA;
    s.alphaTestEnable = true;
    s.alphaFunc = D3DCMP_GREATER;
    s.alphaRef = 0;
    s.cullMode = D3DCULL_NONE;
    s.lighting = false;
    s.diffuseSource = D3DMCS_COLOR1;
    s.stage0 = gfx::TextureStage{};
    s.stage0.colorOp = D3DTOP_MODULATE;
    s.stage0.colorArg1 = D3DTA_TEXTURE;
    s.stage0.colorArg2 = D3DTA_DIFFUSE;
    s.stage0.alphaOp = D3DTOP_MODULATE;
    s.stage0.alphaArg1 = D3DTA_TEXTURE;
    s.stage0.alphaArg2 = D3DTA_DIFFUSE;
    s.sampler0.addressU = s.sampler0.addressV = D3DTADDRESS_CLAMP;
    s.sampler0.magFilter = s.sampler0.minFilter = s.sampler0.mipFilter = D3DTEXF_LINEAR;
    D3DXMatrixIdentity(&s.view);
    D3DXMatrixOrthoOffCenterLH(&s.projection, 0.0f, 800.0f, 600.0f, 0.0f, 0.0f, 1.0f);
    return S_OK;
}

HRESULT ID3DXSprite::SetTransform(const D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    transform_ = *transform;
    if (gfx::GfxCall* c = device_->log().begin("Sprite.SetTransform"))
        for (int i = 0; i < 16; ++i) c->args.push_back(transform->m[i / 4][i % 4]);
    return S_OK;
}

HRESULT ID3DXSprite::Draw(IDirect3DTexture9* texture, const RECT* src, const D3DXVECTOR3* center,
                          const D3DXVECTOR3* position, D3DCOLOR color) {
    device_->log().add("Sprite.Draw",
                       {texture ? double(texture->handle()) : 0.0, src ? double(src->left) : -1.0,
                        src ? double(src->top) : -1.0, src ? double(src->right) : -1.0,
                        src ? double(src->bottom) : -1.0, double(color)});
    if (!begun_ || !texture || !buffer_) return D3DERR_INVALIDCALL;
    const float tw = float(texture->width()), th = float(texture->height());
    RECT r{0, 0, texture->width(), texture->height()};
    if (src) r = *src;
    const float w = float(r.right - r.left), h = float(r.bottom - r.top);
    const float ox = (position ? position->x : 0.0f) - (center ? center->x : 0.0f);
    const float oy = (position ? position->y : 0.0f) - (center ? center->y : 0.0f);
    const float oz = (position ? position->z : 0.0f) - (center ? center->z : 0.0f);
    const float u0 = r.left / tw, v0 = r.top / th, u1 = r.right / tw, v1 = r.bottom / th;
    const SpriteVertex quad[4] = {{ox, oy, oz, color, u0, v0},
                                  {ox + w, oy, oz, color, u1, v0},
                                  {ox, oy + h, oz, color, u0, v1},
                                  {ox + w, oy + h, oz, color, u1, v1}};
    // Each frame fills the quads from the first, so a frame that draws what
    // the last one drew writes the same bytes to the same places.
    if (slotsFrame_ != device_->presents()) {
        slotsFrame_ = device_->presents();
        nextSlot_ = 0;
    }
    const std::uint32_t slot = nextSlot_;
    nextSlot_ = (nextSlot_ + 1) % kQuadSlots;
    device_->backend().updateBuffer(buffer_, slot * sizeof quad, quad, sizeof quad);
    gfx::PipelineState& s = device_->state();
    s.world = transform_;
    s.texture0Handle = texture->handle();
    gfx::DrawCall call;
    call.buffer = buffer_;
    gfx::VertexLayout::fromFvf(kSpriteFvf, call.layout);
    call.primitive = D3DPT_TRIANGLESTRIP;
    call.firstVertex = int(slot * 4);
    call.vertexCount = 4;
    device_->drawCall(call);
    return S_OK;
}

HRESULT ID3DXSprite::End() {
    device_->log().add("Sprite.End");
    if (!begun_) return D3DERR_INVALIDCALL;
    begun_ = false;
    device_->restoreState(saved_, savedTexture_);
    return S_OK;
}

}  // namespace platform
