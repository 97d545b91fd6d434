#include "platform/audio/file_path.h"

namespace platform {

std::string nativeAssetPath(const char* path) {
    std::string p = path ? path : "";
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

std::FILE* openAssetFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    return std::fopen(nativeAssetPath(path).c_str(), mode);
}

}  // namespace platform
