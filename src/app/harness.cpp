#include "app/harness.h"

#include "app/json_writer.h"
#include "platform/gfx/gfx_config.h"
#include "platform/headless/headless_backend.h"
#include "platform/os.h"

Harness harness;

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

void Harness::afterFrame() {
    const std::uint64_t frame = frames_++;
    if (trace_) {
        JsonWriter w;
        writeFrameState(w, frame, passes_);
        const std::string line = w.finish();
        std::fputs(line.c_str(), trace_);
        std::fputc('\n', trace_);
        std::fflush(trace_);
    } else {
        platform::takeShownBoxes();  // nobody reads them
    }
    if (headless_) headless_->setNextFrame(frames_);
    platform::gfx::setCurrentFrame(frames_);
    if (options_.frameLimit && frames_ >= *options_.frameLimit) platform::PostQuitMessage(0);
}
