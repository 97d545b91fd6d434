#include "platform/gfx/frame_times.h"

namespace platform::gfx {

FrameTimes::~FrameTimes() {
    if (file_) std::fclose(file_);
}

bool FrameTimes::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return false;
    std::fputs("# frame ms draws\n", file_);
    last_ = std::chrono::steady_clock::now();
    return true;
}

void FrameTimes::frameDone(std::uint64_t frame, std::uint64_t drawCount) {
    if (!file_) return;
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last_).count();
    std::fprintf(file_, "%llu %.3f %llu\n", static_cast<unsigned long long>(frame), ms,
                 static_cast<unsigned long long>(drawCount - lastDraws_));
    last_ = now;
    lastDraws_ = drawCount;
}

}  // namespace platform::gfx
