// readAssetFile: reads a whole file named the way the game names its assets
// (relative, with backslashes); a size bound keeps hostile files out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::gfx {

constexpr std::size_t kMaxAssetBytes = 64u << 20;

// Backslashes become slashes; false when missing, unreadable or too large.
bool readAssetFile(const char* path, std::vector<std::uint8_t>& out);

}  // namespace platform::gfx
