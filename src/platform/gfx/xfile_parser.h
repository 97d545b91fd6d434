// parseXFile: reads a DirectX .x file in the text format ("xof 0302txt 0032")
// into one MeshData: every Mesh of the file with its frame transforms applied,
// faces of more than three corners split into triangles, and the materials of
// every mesh's MeshMaterialList in order. Binary and compressed files, and
// anything malformed (bad counts, indices out of range, truncation), fail.
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/mesh_data.h"

namespace platform::gfx {

// On failure `error` (when given) says what was wrong; `out` is unspecified.
bool parseXFile(std::string_view file, MeshData& out, std::string* error = nullptr);

}  // namespace platform::gfx
