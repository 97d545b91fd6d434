// The D3DX9 utility objects the game uses: textures from PNG files with a
// colour key, meshes from DirectX .x text files with their materials, the
// screen-space sprite, and (through d3dx_math.h) the matrix helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/d3d9.h"
#include "platform/gfx/d3dx_math.h"

namespace platform {

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr DWORD D3DXMESH_SYSTEMMEM = 0x110;

// A block of bytes handed out by D3DX (here: the D3DXMATERIAL array).
class ID3DXBuffer final : public D3DUnknown {
public:
    void* GetBufferPointer() { return bytes_.data(); }
    DWORD GetBufferSize() const { return static_cast<DWORD>(bytes_.size()); }

    explicit ID3DXBuffer(std::size_t size) : bytes_(size) {}

private:
    ~ID3DXBuffer() override = default;
    std::vector<std::uint8_t> bytes_;
};

struct D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    char* pTextureFilename = nullptr;  // always null: texture names are not kept
};

namespace gfx {
struct MeshData;
}

class ID3DXMesh final : public D3DUnknown {
public:
    // Draws the faces whose material index is `attribute` with the current state.
    HRESULT DrawSubset(DWORD attribute);
    DWORD GetNumFaces() const;
    DWORD GetNumVertices() const;

    // Layer internals.
    ID3DXMesh(IDirect3DDevice9* device, const gfx::MeshData& data);
    // Triangles of one subset (for tests), 0 when there is no such subset.
    int subsetTriangles(DWORD attribute) const;

private:
    ~ID3DXMesh() override;
    struct Range {
        int first = 0, count = 0;  // vertices, three per triangle
    };
    IDirect3DDevice9* device_;
    std::uint32_t buffer_ = 0;
    std::vector<Range> subsets_;
    DWORD faces_ = 0, vertices_ = 0;
};

struct D3DXIMAGE_INFO;
struct PALETTEENTRY;

// Size, format and a full mip chain come from the file whatever is asked;
// texels equal to colorKey (an opaque colour; files without alpha count as
// opaque) become transparent black. D3DXERR_INVALIDDATA for an unreadable file.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, const char* path, UINT width,
                                     UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                     D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                     D3DCOLOR colorKey, D3DXIMAGE_INFO* info,
                                     PALETTEENTRY* palette, IDirect3DTexture9** out);

// Reads a DirectX .x text file: every mesh of the file collapsed into one with
// the frame transforms applied; one material (and subset) per Material.
HRESULT D3DXLoadMeshFromXA(const char* path, DWORD options, IDirect3DDevice9* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                           ID3DXBuffer** effectInstances, DWORD* materialCount,
                           ID3DXMesh** mesh);

// The screen-space sprite: quads in the 800 x 600 pixel space, y downwards.
class ID3DXSprite final : public D3DUnknown {
public:
    // Saves the device state and sets the sprite's own (flags must be 0).
    HRESULT Begin(DWORD flags);
    HRESULT SetTransform(const D3DXMATRIX* transform);
    // The whole texture (srcRect null) or a part of it, as a quad from (0, 0)
    // to its size, moved by -center and +position, then by the transform.
    HRESULT Draw(IDirect3DTexture9* texture, const RECT* srcRect, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color);
    // Restores the state Begin saved.
    HRESULT End();

    explicit ID3DXSprite(IDirect3DDevice9* device);

private:
    ~ID3DXSprite() override;
    IDirect3DDevice9* device_;
    std::uint32_t buffer_ = 0;
    std::uint32_t nextSlot_ = 0;  // the buffer's next free quad
    std::uint64_t slotsFrame_ = 0;  // the frame (device presents) nextSlot_ counts in
    D3DXMATRIX transform_;
    gfx::PipelineState saved_;
    IDirect3DTexture9* savedTexture_ = nullptr;
    bool begun_ = false;
};

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** out);

}  // namespace platform
