// FrameList: a window's frame as the backend was asked to draw it (clears,
// buffer updates and draws, in order), kept as bytes so that two frames can
// be compared at once and a frame drawn only when it differs from the last.
// Its storage is kept from frame to frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

class FrameList {
public:
    FrameList() { bytes_.reserve(1u << 18); }

    void clear(DWORD flags, D3DCOLOR color, float z);
    void update(std::uint32_t buffer, std::size_t offset, const void* data, std::size_t bytes);
    void draw(const PipelineState& state, const DrawCall& call);

    bool empty() const { return bytes_.empty(); }
    bool hasDraws() const { return draws_ > 0; }
    void reset() {
        bytes_.clear();
        draws_ = 0;
    }
    void swap(FrameList& other) {
        bytes_.swap(other.bytes_);
        std::swap(draws_, other.draws_);
    }
    bool operator==(const FrameList& other) const { return bytes_ == other.bytes_; }

    // Gives each command, in order, to the backend's own calls.
    struct Target {
        virtual void runClear(DWORD flags, D3DCOLOR color, float z) = 0;
        virtual void runUpdate(std::uint32_t buffer, std::size_t offset, const void* data, std::size_t bytes) = 0;
        virtual void runDraw(const PipelineState& state, const DrawCall& call) = 0;

    protected:
        ~Target() = default;
    };
    void run(Target& target) const;

private:
    void put(const void* p, std::size_t n);
    std::vector<std::uint8_t> bytes_;
    int draws_ = 0;
};

}  // namespace platform::gfx
