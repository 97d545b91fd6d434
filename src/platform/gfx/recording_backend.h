// RecordingBackend: a backend that draws nothing. The device's call log holds
// what was asked; this keeps resource bookkeeping (so leaks and use of
// released handles show in tests) and can be told to fail presents.
#pragma once

#include <map>
#include <set>
#include <memory>

#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

class RecordingBackend final : public GfxBackend {
public:
    const char* name() const override { return "recording"; }

    std::uint32_t createTexture(TextureSource source) override;
    void releaseTexture(std::uint32_t handle) override { textures_.erase(handle); }
    std::uint32_t createBuffer(std::size_t bytes) override;
    void updateBuffer(std::uint32_t handle, std::size_t offset, const void* data,
                      std::size_t bytes) override;
    void releaseBuffer(std::uint32_t handle) override { buffers_.erase(handle); }

    void clear(DWORD, D3DCOLOR, float) override {}
    void draw(const PipelineState& state, const DrawCall& call) override;
    bool present() override;
    bool reset() override;
    // Draws nothing while paused either; it notes the pauses and their presents.
    void beginPause(const MipLevel*) override { ++pauses_; }
    void presentPaused() override { ++pausedPresents_; }

    std::size_t liveTextures() const { return textures_.size(); }
    std::size_t liveBuffers() const { return buffers_.size(); }
    std::size_t draws() const { return draws_; }
    // Draws that named a texture or buffer that does not exist.
    std::size_t badDraws() const { return badDraws_; }
    std::size_t pauses() const { return pauses_; }
    std::size_t pausedPresents() const { return pausedPresents_; }

private:
    std::uint32_t next_ = 1;
    std::set<std::uint32_t> textures_;  // live handles
    std::map<std::uint32_t, std::size_t> buffers_;
    std::size_t draws_ = 0, badDraws_ = 0;
    std::size_t pauses_ = 0, pausedPresents_ = 0;
    bool lost_ = false;
};

std::unique_ptr<GfxBackend> createRecordingBackend();

}  // namespace platform::gfx
