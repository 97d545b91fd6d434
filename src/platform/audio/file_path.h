// Asset paths as the game writes them ("w\bokaan.wav", relative to the
// working directory) turned into paths of this system, and the file opening
// the audio code does through them.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

std::string nativeAssetPath(const char* path);  // '\' becomes '/'
std::FILE* openAssetFile(const char* path, const char* mode);

}  // namespace platform
