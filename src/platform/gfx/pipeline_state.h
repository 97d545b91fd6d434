// PipelineState: everything the fixed-function pipeline needs to know for one
// draw, as the device holds it between calls. Backends read it; only the
// device (and the sprite, which saves and restores it) writes it.
#pragma once

#include <cstdint>

#include "platform/gfx/d3d9types.h"
#include "platform/gfx/d3dx_math.h"

namespace platform::gfx {

struct TextureStage {
    DWORD colorOp = D3DTOP_MODULATE, colorArg1 = D3DTA_TEXTURE, colorArg2 = D3DTA_CURRENT;
    DWORD alphaOp = D3DTOP_SELECTARG1, alphaArg1 = D3DTA_TEXTURE, alphaArg2 = D3DTA_CURRENT;
    DWORD transformFlags = D3DTTFF_DISABLE;
};

struct SamplerState {
    DWORD addressU = D3DTADDRESS_WRAP, addressV = D3DTADDRESS_WRAP;
    DWORD magFilter = D3DTEXF_POINT, minFilter = D3DTEXF_POINT, mipFilter = D3DTEXF_NONE;
};

// Device defaults are those of a freshly created Direct3D 9 device.
struct PipelineState {
    D3DXMATRIX world, view, projection, texture0;

    bool zEnable = true;
    bool zWriteEnable = true;
    DWORD zFunc = D3DCMP_LESSEQUAL;
    DWORD cullMode = D3DCULL_CCW;
    bool ditherEnable = false;

    bool alphaBlendEnable = false;
    DWORD srcBlend = D3DBLEND_ONE;
    DWORD destBlend = D3DBLEND_ZERO;
    bool alphaTestEnable = false;
    DWORD alphaFunc = D3DCMP_ALWAYS;
    DWORD alphaRef = 0;

    bool lighting = true;
    D3DCOLOR ambient = 0;  // global ambient
    bool colorVertex = true;
    DWORD diffuseSource = D3DMCS_COLOR1;
    DWORD ambientSource = D3DMCS_MATERIAL;
    DWORD emissiveSource = D3DMCS_MATERIAL;
    bool normalizeNormals = false;

    D3DLIGHT9 light0;
    bool light0Enabled = false;
    D3DMATERIAL9 material;

    TextureStage stage0;
    SamplerState sampler0;
    std::uint32_t texture0Handle = 0;  // backend texture, 0 = none bound

    PipelineState();
};

}  // namespace platform::gfx
