// ID3DXMesh and the .x mesh loader.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/asset_report.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/file_read.h"
#include "platform/gfx/mesh_data.h"
#include "platform/gfx/xfile_parser.h"

namespace platform {

namespace {
constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
}

ID3DXMesh::ID3DXMesh(IDirect3DDevice9* device, const gfx::MeshData& data)
    : device_(device), faces_(data.triangles()), vertices_(data.sourceVertices) {
    device_->AddRef();
    for (const gfx::MeshSubset& s : data.subsets) subsets_.push_back({s.firstVertex, s.vertexCount});
    if (!data.vertices.empty()) {
        const std::size_t bytes = data.vertices.size() * sizeof(gfx::MeshVertex);
        buffer_ = device_->backend().createBuffer(bytes);
        if (buffer_) device_->backend().updateBuffer(buffer_, 0, data.vertices.data(), bytes);
    }
}

ID3DXMesh::~ID3DXMesh() {
    if (buffer_) device_->backend().releaseBuffer(buffer_);
    device_->Release();
}

DWORD ID3DXMesh::GetNumFaces() const { return faces_; }
DWORD ID3DXMesh::GetNumVertices() const { return vertices_; }

int ID3DXMesh::subsetTriangles(DWORD attribute) const {
    return attribute < subsets_.size() ? subsets_[attribute].count / 3 : 0;
}

HRESULT ID3DXMesh::DrawSubset(DWORD attribute) {
    device_->log().add("DrawSubset", {double(attribute), double(subsetTriangles(attribute))});
    if (!device_->inScene()) return D3DERR_INVALIDCALL;
    if (attribute >= subsets_.size() || subsets_[attribute].count == 0 || !buffer_) return S_OK;
    gfx::DrawCall call;
    call.buffer = buffer_;
    gfx::VertexLayout::fromFvf(kMeshFvf, call.layout);
    call.primitive = D3DPT_TRIANGLELIST;
    call.firstVertex = subsets_[attribute].first;
    call.vertexCount = subsets_[attribute].count;
    device_->drawCall(call);
    return S_OK;
}

HRESULT D3DXLoadMeshFromXA(const char* path, DWORD, IDirect3DDevice9* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effects,
                           DWORD* materialCount, ID3DXMesh** mesh) {
    if (!path || !device || !mesh) return D3DERR_INVALIDCALL;
    if (adjacency) *adjacency = nullptr;
    if (effects) *effects = nullptr;
    std::vector<std::uint8_t> file;
    if (!gfx::readAssetFile(path, file)) {
        reportAssetFailure(path, "unreadable, or larger than 64 MiB");
        return D3DERR_NOTAVAILABLE;
    }
    gfx::MeshData data;
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    if (!gfx::parseXFile(text, data)) {
        reportAssetFailure(path, "not a DirectX .x mesh, or a damaged one");
        return D3DXERR_INVALIDDATA;
    }

    if (materials) {
        const std::size_t n = data.materials.size();
        auto* buffer = new ID3DXBuffer(std::max<std::size_t>(n, 1) * sizeof(D3DXMATERIAL));
        auto* out = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
        for (std::size_t i = 0; i < n; ++i) new (&out[i]) D3DXMATERIAL{data.materials[i], nullptr};
        *materials = buffer;
    }
    if (materialCount) *materialCount = static_cast<DWORD>(data.materials.size());
    *mesh = new ID3DXMesh(device, data);
    device->log().add("LoadMesh", {double(data.materials.size()), double(data.triangles())});
    return S_OK;
}

}  // namespace platform
