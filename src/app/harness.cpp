#include "app/harness.h"

#include "platform/gfx/gfx_config.h"
#include "platform/headless/headless_backend.h"
#include "platform/os.h"

Harness harness;

namespace {

bool writeLine(std::FILE* f, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
    return std::fflush(f) == 0 && !std::ferror(f);
}

}  // namespace

Harness::~Harness() {
    if (trace_) std::fclose(trace_);
}

bool Harness::configure(const Options& options, platform::HeadlessBackend* headless,
                        std::string& why) {
    options_ = options;
    headless_ = headless;
    if (!options.tracePath.empty()) {
        trace_ = std::fopen(options.tracePath.c_str(), "w");
        if (!trace_) {
            why = "cannot write the trace file " + options.tracePath;
            return false;
        }
    }
    if (options.traceGroups) {
        keep_.assign(traceAlwaysWritten.begin(), traceAlwaysWritten.end());
        keep_.insert(keep_.end(), options.traceGroups->begin(), options.traceGroups->end());
        writer_.keepOnly(&keep_);
    }
    if (options.lockstep && headless_) headless_->onWaiting([this](const char* reason) { answerWaiting(reason); });
    return true;
}

void Harness::notePass() {
    // What start-up showed and drew is not part of the first frame (its
    // boxes went to stderr).
    if (passes_++ == 0) {
        platform::takeShownBoxes();
        platform::gfx::setCurrentFrame(0);
    }
}

// A reader of the answers that has gone away ends the run.
bool Harness::answer(std::string_view line) {
    if (writeLine(stdout, line)) return true;
    std::fputs("tervo: cannot write to standard output; ending the run\n", stderr);
    platform::PostQuitMessage(1);
    return false;
}

void Harness::answerWaiting(const char* reason) {
    char line[128];
    const int n = std::snprintf(line, sizeof line, R"({"waiting":"%s","pass":%llu,"ms":%u})", reason,
                                static_cast<unsigned long long>(passes_), platform::harnessTime());
    answer(std::string_view(line, static_cast<std::size_t>(n)));
}

void Harness::afterFrame() {
    const std::uint64_t frame = frames_++;
    // Read on every frame, traced or not, so that a replay holds it either way.
    const std::uint32_t ms = platform::frameEndTime();
    if (trace_ || options_.lockstep) {
        writer_.reset();
        writeFrameState(writer_, frame, passes_, ms);
        const std::string& line = writer_.finish();
        if (trace_) writeLine(trace_, line);
        if (options_.lockstep) answer(line);
    } else {
        platform::takeShownBoxes();  // nobody reads them
    }
    if (headless_) headless_->setNextFrame(frames_);
    platform::gfx::setCurrentFrame(frames_);
    if (options_.frameLimit && frames_ >= *options_.frameLimit) platform::PostQuitMessage(0);
}
