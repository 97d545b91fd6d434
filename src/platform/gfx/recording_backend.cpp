// The drawing-free backend of tests and headless runs.
#include "platform/gfx/recording_backend.h"

namespace platform::gfx {

extern int g_pendingPresentFailures;  // gfx_config.cpp

std::uint32_t RecordingBackend::createTexture(TextureSource) {
    const std::uint32_t h = next_++;
    textures_.insert(h);
    return h;
}

std::uint32_t RecordingBackend::createBuffer(std::size_t bytes) {
    const std::uint32_t h = next_++;
    buffers_[h] = bytes;
    return h;
}

void RecordingBackend::updateBuffer(std::uint32_t handle, std::size_t offset, const void*,
                                    std::size_t bytes) {
    const auto it = buffers_.find(handle);
    if (it == buffers_.end() || offset + bytes > it->second) ++badDraws_;
}

void RecordingBackend::draw(const PipelineState& state, const DrawCall& call) {
    ++draws_;
    if (!buffers_.count(call.buffer) ||
        (state.texture0Handle != 0 && !textures_.count(state.texture0Handle)))
        ++badDraws_;
}

bool RecordingBackend::present() {
    if (g_pendingPresentFailures > 0) {
        --g_pendingPresentFailures;
        lost_ = true;
        return false;
    }
    return !lost_;
}

bool RecordingBackend::reset() {
    if (g_pendingPresentFailures > 0) return false;  // still lost
    lost_ = false;
    return true;
}

std::unique_ptr<GfxBackend> createRecordingBackend() { return std::make_unique<RecordingBackend>(); }

}  // namespace platform::gfx
