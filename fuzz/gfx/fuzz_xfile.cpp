// libFuzzer target: the .x text reader on arbitrary bytes. Any input must
// either load or fail cleanly; a loaded mesh must be self-consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gfx/xfile_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::gfx::MeshData mesh;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!platform::gfx::parseXFile(text, mesh)) return 0;
    if (mesh.subsets.size() != mesh.materials.size() || mesh.vertices.size() % 3 != 0) std::abort();
    std::size_t covered = 0;
    for (const auto& s : mesh.subsets) {
        if (s.firstVertex < 0 || s.vertexCount < 0 ||
            std::size_t(s.firstVertex) + std::size_t(s.vertexCount) > mesh.vertices.size())
            std::abort();
        covered += std::size_t(s.vertexCount);
    }
    if (covered != mesh.vertices.size()) std::abort();
    return 0;
}
