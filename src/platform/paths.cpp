#include "platform/paths.h"

namespace platform {

std::string nativePath(const std::string& gamePath) {
    std::string path = gamePath;
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

}  // namespace platform
