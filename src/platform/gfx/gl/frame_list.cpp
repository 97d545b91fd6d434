#include "platform/gfx/gl/frame_list.h"

#include <cstring>

namespace platform::gfx {

namespace {
enum Kind : std::uint8_t { kClear = 1, kUpdate = 2, kDraw = 3 };

template <typename T>
T take(const std::uint8_t*& p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}
}  // namespace

void FrameList::put(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
}

void FrameList::clear(DWORD flags, D3DCOLOR color, float z) {
    const std::uint8_t kind = kClear;
    put(&kind, 1);
    put(&flags, sizeof flags);
    put(&color, sizeof color);
    put(&z, sizeof z);
}

void FrameList::update(std::uint32_t buffer, std::size_t offset, const void* data, std::size_t bytes) {
    const std::uint8_t kind = kUpdate;
    put(&kind, 1);
    put(&buffer, sizeof buffer);
    put(&offset, sizeof offset);
    put(&bytes, sizeof bytes);
    put(data, bytes);
}

void FrameList::draw(const PipelineState& state, const DrawCall& call) {
    const std::uint8_t kind = kDraw;
    put(&kind, 1);
    put(&state, sizeof state);
    put(&call, sizeof call);
    ++draws_;
}

void FrameList::run(Target& target) const {
    const std::uint8_t* p = bytes_.data();
    const std::uint8_t* const end = p + bytes_.size();
    while (p < end) {
        switch (*p++) {
            case kClear: {
                const auto flags = take<DWORD>(p);
                const auto color = take<D3DCOLOR>(p);
                target.runClear(flags, color, take<float>(p));
                break;
            }
            case kUpdate: {
                const auto buffer = take<std::uint32_t>(p);
                const auto offset = take<std::size_t>(p);
                const auto bytes = take<std::size_t>(p);
                target.runUpdate(buffer, offset, p, bytes);
                p += bytes;
                break;
            }
            default: {
                const auto state = take<PipelineState>(p);
                target.runDraw(state, take<DrawCall>(p));
                break;
            }
        }
    }
}

}  // namespace platform::gfx
