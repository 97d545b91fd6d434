// RefCounted: the reference count every object of the platform layer
// carries (graphics, sound, music and input objects alike). An object starts
// with one reference; the Release that drops the last one deletes it.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

class RefCounted {
public:
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    std::uint32_t AddRef() { return ++refs_; }
    // Returns the references left; at 0 the object is gone.
    std::uint32_t Release() {
        const std::uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    RefCounted() = default;
    virtual ~RefCounted() = default;

private:
    // Atomic: the music decoders hand sound objects across threads.
    std::atomic<std::uint32_t> refs_{1};
};

}  // namespace platform
