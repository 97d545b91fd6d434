#include "world/background.h"

using namespace platform;

namespace {

// The scroll offsets of the corridor's textures; they live as long as the
// program and survive every new game. u never moves.
Real scrollU = 0.0;
Real scrollV = 0.0;

constexpr D3DCOLOR White = 0xFFFFFFFF;

// Floor, walls and ceiling are one horizontal quad turned about z; slots 1
// and 2 hold an upright quad that is built but never drawn.
constexpr QuadVertex Horizontal[4] = {{-10, 0, 50, White, 0, 0},
                                      {10, 0, 50, White, 1, 0},
                                      {-10, 0, -50, White, 0, 1},
                                      {10, 0, -50, White, 1, 1}};
constexpr QuadVertex Upright[4] = {{10, -10, 50, White, 0, 0},
                                   {10, 10, 50, White, 1, 0},
                                   {10, -10, -50, White, 0, 1},
                                   {10, 10, -50, White, 1, 1}};

struct Part {
    int slot;
    double degrees;
    int texture;
};
// Floor, right wall, left wall, ceiling.
constexpr Part Drawn[4] = {{0, 0, 0}, {3, 90, 1}, {4, 270, 2}, {5, 180, 3}};

constexpr const char* TextureFiles[Background::textureCount] = {"t\\back1.png", "t\\back2.png",
                                                                 "t\\back3.png", "t\\back4.png"};

}  // namespace

Real backgroundV() { return scrollV; }

Background::Background() : FieldObject(parts) {
    const double xs[parts] = {0, 0, 0, 10, -10, 0};
    const double ys[parts] = {-2, 5, -5, 8, 8, 17.5};
    const double depths[parts] = {25, 50, 50, 25, 25, 25};
    for (int i = 0; i < parts; ++i) {
        setPosition(i, xs[i], ys[i], 0.0, 1, 100);
        depth[i] = depths[i];
    }
}

Background::~Background() {
    try {
        for (auto*& texture : textures) {
            if (texture) texture->Release();
            texture = nullptr;
        }
        for (auto*& buffer : buffers) {
            if (buffer) buffer->Release();
            buffer = nullptr;
        }
    } catch (...) {
        MessageBoxA(graphics.ownerWindow, "なんらかのエラーT", "", MB_OK);
        DestroyWindow(graphics.ownerWindow);
    }
}

bool Background::load() {
    D3DXMatrixIdentity(&graphics.worldMatrix);
    D3DXMatrixIdentity(&graphics.secondMatrix);
    D3DXMatrixIdentity(&graphics.thirdMatrix);
    IDirect3DDevice9* device = graphics.device;
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    for (int i = 0; i < parts; ++i) {
        // A buffer that cannot be made is reported and stays empty; its
        // quad is skipped.
        if (!graphics.createQuadBuffer(&buffers[i])) continue;
        writeQuad(buffers[i], (i == 1 || i == 2) ? Upright : Horizontal);
    }
    for (int t = 0; t < textureCount; ++t)
        if (!graphics.loadTexture(TextureFiles[t], 0xFF000000, "背景ロスト", &textures[t])) return false;
    return true;
}

void Background::drawSlot(int /*index*/) {
    IDirect3DDevice9* device = graphics.device;
    // The scroll as the translation of a 2D texture transform.
    D3DXMatrixIdentity(&textureMatrix);
    textureMatrix._31 = scrollU.toFloat();
    textureMatrix._32 = scrollV.toFloat();
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    device->SetTransform(D3DTS_TEXTURE0, &textureMatrix);

    for (const Part& part : Drawn) {
        const Placement& p = placements[part.slot];
        const Real angle = Real(part.degrees) * 0.017453292;
        D3DXMatrixRotationZ(&graphics.worldMatrix, angle.toFloat());
        setTranslationRow(graphics.worldMatrix, p.x.toFloat(), p.y.toFloat(), depth[part.slot].toFloat());
        device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
        IDirect3DVertexBuffer9* buffer = buffers[part.slot];
        if (!buffer) continue;
        device->SetTexture(0, textures[part.texture]);
        device->SetStreamSource(0, buffer, 0, sizeof(QuadVertex));
        device->SetFVF(QuadFvf);
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        device->SetTexture(0, nullptr);
    }
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);

    // Wraps after drawing, so no frame is drawn with v below -1.
    scrollV = scrollV - 0.002;
    if (scrollV < -1.0) scrollV = 0.0;
}
