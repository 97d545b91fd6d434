#include "platform/asset_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace platform {

namespace {
bool g_hinted = false;  // the pack hint, once per run
}

void reportAssetFailure(const char* path, const char* why) {
    std::error_code ec;
    const fs::path folder = fs::current_path(ec);  // the game runs in its asset folder
    const fs::path file = fs::absolute(nativePath(path ? path : ""), ec).lexically_normal();
    // Why it could not be read, when it could not: missing, a folder, no permission.
    std::string reason = why;
    bool missing = false;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        std::fclose(f);
        if (fs::is_directory(file, ec)) reason = "it is a folder";
    } else {
        missing = errno == ENOENT;
        reason = std::strerror(errno);
    }
    std::fprintf(stderr, "tervo: cannot load %s: %s (asset folder %s)\n", file.c_str(), reason.c_str(),
                 folder.c_str());
    if (missing && !g_hinted) {
        g_hinted = true;
        std::fprintf(stderr, "tervo: the asset pack was not found in %s; build it (see README) or pass --assets DIR\n",
                     folder.c_str());
    }
    std::fflush(stderr);
}

}  // namespace platform
