#include "world/graphics_part.h"

#include <cstring>
#include <stdexcept>

using namespace platform;

bool anyLoadFailed = false;

void reportLoadFailure(HWND owner, const std::string& text) {
    anyLoadFailed = true;
    MessageBoxA(owner, text, "メッセージ", MB_OK);
    DestroyWindow(owner);
}

void GraphicsPart::attach(IDirect3DDevice9* d, HWND owner, ID3DXSprite* s) {
    device = d;
    ownerWindow = owner;
    sprite = s;
}

bool GraphicsPart::loadMesh(const char* path, const char* failureText) {
    D3DXMatrixIdentity(&worldMatrix);
    const std::string file = nativePath(path);
    if (FAILED(D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_SYSTEMMEM, device, nullptr, &materialsBuffer,
                                  nullptr, &materialCount, &mesh))) {
        reportLoadFailure(ownerWindow, failureText);
        return false;
    }
    return true;
}

bool GraphicsPart::loadTexture(const char* path, D3DCOLOR colorKey, const char* failureText,
                               IDirect3DTexture9** out) {
    const std::string file = nativePath(path);
    if (FAILED(D3DXCreateTextureFromFileExA(device, file.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, colorKey,
                                            nullptr, nullptr, out))) {
        reportLoadFailure(ownerWindow, failureText);
        return false;
    }
    return true;
}

bool GraphicsPart::createQuadBuffer(IDirect3DVertexBuffer9** out) {
    if (!device || FAILED(device->CreateVertexBuffer(4 * sizeof(QuadVertex), D3DUSAGE_WRITEONLY, QuadFvf,
                                                     D3DPOOL_MANAGED, out, nullptr))) {
        *out = nullptr;
        MessageBoxA(ownerWindow, "エラー", "", MB_OK);
        return false;
    }
    return true;
}

bool writeQuad(IDirect3DVertexBuffer9* buffer, const QuadVertex (&vertices)[4]) {
    if (!buffer) return false;
    void* data = nullptr;
    if (FAILED(buffer->Lock(0, 0, &data, 0))) return false;
    std::memcpy(data, vertices, sizeof vertices);
    buffer->Unlock();
    return true;
}

void GraphicsPart::drawSprite(IDirect3DTexture9* image, const RECT* source, float sx, float sy, float x, float y) {
    if (!sprite) return;
    D3DXMATRIX transform;
    const D3DXVECTOR2 scaling(sx, sy);
    const D3DXVECTOR2 translation(x, y);
    D3DXMatrixTransformation2D(&transform, nullptr, 0.0f, &scaling, nullptr, 0.0f, &translation);
    sprite->SetTransform(&transform);
    sprite->Draw(image, source, nullptr, nullptr, 0xFFFFFFFF);
}

bool writeSquare(IDirect3DVertexBuffer9* buffer, float half, float left, float top, float right, float bottom) {
    constexpr D3DCOLOR white = 0xFFFFFFFF;
    const QuadVertex quad[4] = {{-half, half, 0.0f, white, left, top},
                                {half, half, 0.0f, white, right, top},
                                {-half, -half, 0.0f, white, left, bottom},
                                {half, -half, 0.0f, white, right, bottom}};
    return writeQuad(buffer, quad);
}

void GraphicsPart::setWorldAt(float x, float y, float z) {
    D3DXMatrixTranslation(&worldMatrix, x, y, z);
    device->SetTransform(D3DTS_WORLD, &worldMatrix);
}

void GraphicsPart::drawMesh() {
    if (!mesh || !materialsBuffer) return;
    materialArray = static_cast<D3DXMATERIAL*>(materialsBuffer->GetBufferPointer());
    currentMaterial = D3DMATERIAL9{};
    for (DWORD i = 0; i < materialCount; ++i) {
        currentMaterial = materialArray[i].MatD3D;
        device->SetMaterial(&currentMaterial);
        mesh->DrawSubset(i);
    }
}

void GraphicsPart::drawQuad() {
    if (!quadBuffer) return;  // its creation failed: the object skips the quad
    device->SetTexture(0, quadTexture);
    device->SetStreamSource(0, quadBuffer, 0, sizeof(QuadVertex));
    device->SetFVF(QuadFvf);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->SetTexture(0, nullptr);
}

void GraphicsPart::releaseMesh() {
    try {
        if (materialsBuffer) {
            materialsBuffer->Release();
            materialsBuffer = nullptr;
            materialArray = nullptr;
        }
        if (mesh) {
            mesh->Release();
            mesh = nullptr;
        }
    } catch (...) {
        MessageBoxA(ownerWindow, "なんらかのエラーX", "", MB_OK);
        DestroyWindow(ownerWindow);
    }
}

void GraphicsPart::releaseQuad() {
    try {
        if (quadTexture) {
            quadTexture->Release();
            quadTexture = nullptr;
        }
        if (quadBuffer) {
            quadBuffer->Release();
            quadBuffer = nullptr;
        }
    } catch (...) {
        MessageBoxA(ownerWindow, "なんらかのエラーT", "", MB_OK);
        DestroyWindow(ownerWindow);
    }
}

void setTranslationRow(D3DXMATRIX& m, float x, float y, float z) {
    m._41 = x;
    m._42 = y;
    m._43 = z;
}

void setScaleDiagonal(D3DXMATRIX& m, float sx, float sy, float sz) {
    m._11 = sx;
    m._22 = sy;
    m._33 = sz;
}
