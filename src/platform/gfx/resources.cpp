// Textures and vertex buffers, and the D3DX texture loader.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/asset_report.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/file_read.h"
#include "platform/gfx/png_image.h"
#include "platform/gfx/png_read_ahead.h"
#include "platform/paths.h"

namespace platform {

namespace gfx {
bool readAssetFile(const char* path, std::vector<std::uint8_t>& out) {
    if (!path) return false;
    std::FILE* f = std::fopen(nativePath(path).c_str(), "rb");
    if (!f) return false;
    out.clear();
    std::uint8_t chunk[65536];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n == 0) break;
        if (out.size() + n > kMaxAssetBytes) {
            ok = false;
            break;
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    return ok;
}
}  // namespace gfx

IDirect3DTexture9::IDirect3DTexture9(IDirect3DDevice9* device, std::uint32_t handle, int width,
                                     int height, int levels, D3DFORMAT format)
    : device_(device), handle_(handle), width_(width), height_(height), levels_(levels),
      format_(format) {
    device_->AddRef();
}

IDirect3DTexture9::~IDirect3DTexture9() {
    device_->forget(this);
    device_->backend().releaseTexture(handle_);
    device_->Release();
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const {
    if (!desc || level >= UINT(levels_)) return D3DERR_INVALIDCALL;
    desc->Format = format_;
    desc->Width = std::max(1, width_ >> level);
    desc->Height = std::max(1, height_ >> level);
    return S_OK;
}

IDirect3DVertexBuffer9::IDirect3DVertexBuffer9(IDirect3DDevice9* device, std::uint32_t handle,
                                               UINT length, DWORD fvf)
    : device_(device), handle_(handle), bytes_(length), fvf_(fvf) {
    device_->AddRef();
}

IDirect3DVertexBuffer9::~IDirect3DVertexBuffer9() {
    device_->forget(this);
    device_->backend().releaseBuffer(handle_);
    device_->Release();
}

HRESULT IDirect3DVertexBuffer9::Lock(UINT offset, UINT size, void** data, DWORD) {
    if (!data || locked_) return D3DERR_INVALIDCALL;
    if (offset == 0 && size == 0) size = length();
    if (std::uint64_t{offset} + size > length()) return D3DERR_INVALIDCALL;
    locked_ = true;
    lockOffset_ = offset;
    lockSize_ = size;
    *data = bytes_.data() + offset;
    return S_OK;
}

HRESULT IDirect3DVertexBuffer9::Unlock() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    device_->backend().updateBuffer(handle_, lockOffset_, bytes_.data() + lockOffset_, lockSize_);
    return S_OK;
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, const char* path, UINT, UINT, UINT,
                                     DWORD, D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO*, PALETTEENTRY*, IDirect3DTexture9** out) {
    if (!device || !path || !out) return D3DERR_INVALIDCALL;
    // The whole file is decoded now, so a damaged one fails here as it
    // would in use; the levels themselves are made when they are needed.
    gfx::LoadedPng png = gfx::loadPng(path);
    if (!png.read) {
        reportAssetFailure(path, "unreadable, or larger than 64 MiB");
        return D3DERR_NOTAVAILABLE;
    }
    if (!png.decoded) {
        reportAssetFailure(path, "not a PNG picture, or a damaged one");
        return D3DXERR_INVALIDDATA;
    }
    const int width = png.image.width, height = png.image.height;
    const int levelCount = gfx::mipLevelCount(width, height);
    const std::uint32_t handle = device->backend().createTexture({std::move(png.image), colorKey});
    if (handle == 0) return E_OUTOFMEMORY;
    // A colour key gives the texture alpha even when the file has none.
    const D3DFORMAT format = png.hasAlpha || colorKey != 0 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    *out = new IDirect3DTexture9(device, handle, width, height, levelCount, format);
    device->log().add("CreateTexture", {double(handle), double(width), double(height)});
    return S_OK;
}

}  // namespace platform
