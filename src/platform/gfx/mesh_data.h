// MeshData: a mesh as the .x reader hands it to ID3DXMesh: a triangle list
// (three vertices per triangle, no sharing) grouped by material, plus the
// material of each group.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/d3d9types.h"

namespace platform::gfx {

struct MeshVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;  // zero when the file has no normals
    float u = 0, v = 0;
};
static_assert(sizeof(MeshVertex) == 32);

struct MeshSubset {
    int firstVertex = 0;
    int vertexCount = 0;  // three per triangle
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<MeshSubset> subsets;       // one per material, in material order
    std::vector<D3DMATERIAL9> materials;
    std::uint32_t sourceVertices = 0;      // vertices listed in the file
    std::uint32_t triangles() const { return static_cast<std::uint32_t>(vertices.size() / 3); }
};

}  // namespace platform::gfx
