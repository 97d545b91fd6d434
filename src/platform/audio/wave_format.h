// WAVEFORMATEX and the RIFF four-character codes as the Windows multimedia
// headers lay them out: the format description shared by the WAV reader,
// the sound buffers and the music segments.
#pragma once

#include <bit>
#include <cstdint>

#include "platform/audio/com.h"

namespace platform {

static_assert(std::endian::native == std::endian::little, "WAV data is read in place");

using FOURCC = std::uint32_t;
constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
    return static_cast<FOURCC>(static_cast<std::uint8_t>(a)) |
           static_cast<FOURCC>(static_cast<std::uint8_t>(b)) << 8 |
           static_cast<FOURCC>(static_cast<std::uint8_t>(c)) << 16 |
           static_cast<FOURCC>(static_cast<std::uint8_t>(d)) << 24;
}

constexpr WORD WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

}  // namespace platform
