// GraphicsPart: the display resources of one field object (its mesh and
// materials, a textured quad, the world matrix) and the toolkit's load,
// draw and release steps with their failure reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/d3dx9.h"
#include "platform/os.h"

// Set once any load failure was reported (the window is then destroyed and
// the run ends); the process exits with a failure code.
extern bool anyLoadFailed;

// The load-failure report: a box with the object's text and the caption
// "メッセージ", then the owner window is destroyed.
void reportLoadFailure(platform::HWND owner, const std::string& text);

class GraphicsPart {
public:
    GraphicsPart() = default;
    ~GraphicsPart() = default;
    GraphicsPart(const GraphicsPart&) = delete;  // owns its resources
    GraphicsPart& operator=(const GraphicsPart&) = delete;

    void attach(platform::IDirect3DDevice9* device, platform::HWND owner, platform::ID3DXSprite* sprite);

    // The mesh load: identity world matrix, then the .x file. On failure the
    // report is shown and false returned (the caller ends its load step).
    bool loadMesh(const char* path, const char* failureText);
    // A texture with a colour key into `out`; the same report on failure.
    bool loadTexture(const char* path, platform::D3DCOLOR colorKey, const char* failureText,
                     platform::IDirect3DTexture9** out);
    // The 96-byte quad buffer; a failure shows "エラー" and the object goes
    // on without it (it then skips drawing the quad).
    bool createQuadBuffer(platform::IDirect3DVertexBuffer9** out);
    bool createQuadBuffer() { return createQuadBuffer(&quadBuffer); }

    // World matrix = a translation to (x, y, z), set as the world transform.
    void setWorldAt(float x, float y, float z);
    // Draws every subset with its material; the caller set the world transform.
    void drawMesh();
    // Draws the quad with the quad texture as a two-triangle strip.
    void drawQuad();
    // One 2D image with the sprite, white, scaled by (sx, sy) about its top
    // left corner, which lands at screen pixel (x, y); `source` null for the
    // whole image. Nothing without a sprite.
    void drawSprite(platform::IDirect3DTexture9* image, const platform::RECT* source, float sx, float sy, float x,
                    float y);

    void releaseMesh();
    void releaseQuad();

    platform::IDirect3DDevice9* device = nullptr;   // not owned
    platform::D3DXMATRIX worldMatrix;
    platform::D3DXMATRIX secondMatrix;
    platform::D3DXMATRIX thirdMatrix;
    platform::IDirect3DVertexBuffer9* quadBuffer = nullptr;
    platform::IDirect3DTexture9* quadTexture = nullptr;
    platform::ID3DXSprite* sprite = nullptr;        // not owned
    platform::ID3DXBuffer* materialsBuffer = nullptr;
    platform::DWORD materialCount = 0;
    platform::ID3DXMesh* mesh = nullptr;
    platform::D3DMATERIAL9 currentMaterial;
    platform::D3DXMATERIAL* materialArray = nullptr;  // borrowed from materialsBuffer
    platform::HWND ownerWindow = nullptr;            // not owned
};

// One vertex of a quad: position, diffuse colour, one coordinate pair (24 bytes).
struct QuadVertex {
    float x, y, z;
    platform::D3DCOLOR diffuse;
    float u, v;
};
static_assert(sizeof(QuadVertex) == 24);
constexpr platform::DWORD QuadFvf = platform::D3DFVF_XYZ | platform::D3DFVF_DIFFUSE | platform::D3DFVF_TEX1;

// Releases every texture that is set and clears its pointer (an object's
// own images, beside what its GraphicsPart holds).
template <std::size_t N>
void releaseTextures(platform::IDirect3DTexture9* (&images)[N]) {
    for (auto*& image : images) {
        if (image) image->Release();
        image = nullptr;
    }
}

// Writes four strip vertices through Lock/Unlock; false if the lock fails.
bool writeQuad(platform::IDirect3DVertexBuffer9* buffer, const QuadVertex (&vertices)[4]);
// The common quad: a white square of side 2 x half at z 0, in strip order
// (top left, top right, bottom left, bottom right), showing the texture's
// rectangle from (left, top) to (right, bottom).
bool writeSquare(platform::IDirect3DVertexBuffer9* buffer, float half, float left = 0.0f, float top = 0.0f,
                 float right = 1.0f, float bottom = 1.0f);

// The matrix helpers: they overwrite only the named elements.
void setTranslationRow(platform::D3DXMATRIX& m, float x, float y, float z);
void setScaleDiagonal(platform::D3DXMATRIX& m, float sx, float sy, float sz);
