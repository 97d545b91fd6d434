#include "platform/audio/file_path.h"

#include "platform/paths.h"

namespace platform {

std::string nativeAssetPath(const char* path) { return nativePath(path ? path : ""); }

std::FILE* openAssetFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    return std::fopen(nativeAssetPath(path).c_str(), mode);
}

}  // namespace platform
