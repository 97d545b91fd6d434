// PcmView: a voice's sound data as the mixer reads it: interleaved signed
// 16-bit frames at the sound's own rate, kept alive by owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/wave_format.h"

namespace platform::audio {

struct PcmView {
    const std::int16_t* samples = nullptr;
    std::size_t frames = 0;
    int channels = 0;          // 1 or more; beyond two only the first two sound
    std::uint32_t rate = 0;
    std::shared_ptr<const void> owner;

    bool empty() const { return !samples || frames == 0 || channels <= 0 || rate == 0; }
};

// 8-bit (unsigned) or 16-bit PCM bytes in the given format widened into a
// view that owns its copy; a trailing partial frame is dropped. Returns an
// empty view for any other format.
PcmView convertPcm(const WAVEFORMATEX& format, const std::uint8_t* bytes, std::size_t size);

}  // namespace platform::audio
