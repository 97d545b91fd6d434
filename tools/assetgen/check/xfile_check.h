// A small reader for DirectX .x text meshes: the header, the Frame and its
// FrameTransformMatrix, the Mesh with its vertices and faces, MeshNormals
// and MeshMaterialList with Materials, with counts and indices validated.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace assetgen {

struct XMaterial {
  float diffuse[4] = {};
  float power = 0;
  float specular[3] = {};
  float emissive[3] = {};
};

struct XMesh {
  bool hasFrame = false, hasFrameTransform = false;
  std::vector<std::array<float, 3>> vertices, normals;
  std::vector<std::array<int, 3>> faces, normalFaces;  // polygons fanned into triangles
  std::vector<int> faceMaterials;                        // per triangle
  std::vector<XMaterial> materials;
};

// Parses the text; on failure returns false with a reason.
bool parseXFile(const std::string& text, XMesh& out, std::string& error);

}  // namespace assetgen
