// Where the tests find the generated pack (the build writes it next to the
// game binary) and small file helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace assetgen::test {

inline std::filesystem::path packDir() { return std::filesystem::path(TERVO_BUILD_DIR) / "bin"; }

inline std::vector<uint8_t> readBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

}  // namespace assetgen::test
