#include "platform/gfx/frame_times.h"

namespace platform::gfx {

FrameTimes::~FrameTimes() {
    if (file_) std::fclose(file_);
}

bool FrameTimes::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return false;
    std::fputs("# frame ms draws drawn\n", file_);
    last_ = std::chrono::steady_clock::now();
    return true;
}

namespace {
long long calendarNs() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}

// "# WHAT at SECONDS s", the calendar time in nanoseconds.
void stamp(std::FILE* file, const char* what, long long ns) {
    std::fprintf(file, "# %s at %lld.%09lld s\n", what, ns / 1000000000, ns % 1000000000);
}
}  // namespace

void FrameTimes::note(const std::string& line) {
    if (file_) std::fprintf(file_, "# %s\n", line.c_str());
}

void FrameTimes::shown() {
    if (file_ && firstShownNs_ < 0) firstShownNs_ = calendarNs();
}

void FrameTimes::windowShown() {
    if (file_) stamp(file_, "window shown", calendarNs());
}

void FrameTimes::frameDone(std::uint64_t frame, std::uint64_t drawCount, bool drawn) {
    if (!file_) return;
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last_).count();
    std::fprintf(file_, "%llu %.3f %llu %d\n", static_cast<unsigned long long>(frame), ms,
                 static_cast<unsigned long long>(drawCount - lastDraws_), drawn ? 1 : 0);
    if (!firstDone_) {
        stamp(file_, "first present", firstShownNs_ >= 0 ? firstShownNs_ : calendarNs());
        firstDone_ = true;
    }
    last_ = now;
    lastDraws_ = drawCount;
}

}  // namespace platform::gfx
