// TrackImage: one music track decoded whole from Ogg Vorbis into a WAV image
// in memory (a 46-byte header, then interleaved signed 16-bit samples), the
// form in which it is handed to the music loader.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

struct TrackImage {
    static constexpr std::size_t headerBytes = 46;

    std::unique_ptr<std::uint8_t[]> bytes;  // headerBytes + capacity allocated
    std::size_t sampleBytes = 0;            // decoded, written after the header

    std::size_t size() const { return headerBytes + sampleBytes; }
    explicit operator bool() const { return bytes != nullptr; }
};

// The 46-byte header for sampleBytes of 16-bit samples.
void writeTrackHeader(std::uint8_t* header, int channels, long rate, std::uint32_t sampleBytes);

// Decodes the stream in file (which this call owns and closes) into an
// image. Returns an empty image when the stream cannot be opened, has no
// format or no known length, needs more than maxBytes, fails to decode, or
// cancel becomes true.
TrackImage decodeTrack(std::FILE* file, const std::atomic<bool>& cancel, std::size_t maxBytes);
