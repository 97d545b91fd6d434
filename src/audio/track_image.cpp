#include "audio/track_image.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

}  // namespace

void writeTrackHeader(std::uint8_t* h, int channels, long rate, std::uint32_t sampleBytes) {
    std::uint32_t ch = static_cast<std::uint32_t>(channels);
    std::uint32_t r = static_cast<std::uint32_t>(rate);
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 38 + sampleBytes);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    put32(h + 16, 18);
    put16(h + 20, 1);
    put16(h + 22, ch);
    put32(h + 24, r);
    put32(h + 28, r * ch * 2);
    put16(h + 32, ch * 2);
    put16(h + 34, 16);
    put16(h + 36, 18);
    std::memcpy(h + 38, "data", 4);
    put32(h + 42, sampleBytes);
}

TrackImage decodeTrack(std::FILE* file, const std::atomic<bool>& cancel, std::size_t maxBytes) {
    TrackImage image;
    if (!file) return image;
    OggVorbis_File vf;
    if (ov_open(file, &vf, nullptr, 0) < 0) {
        std::fclose(file);
        return image;
    }
    // From here on the decoder owns the file; ov_clear closes it.
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels <= 0 || info->rate <= 0) {
        ov_clear(&vf);
        return image;
    }
    int channels = info->channels;
    long rate = info->rate;
    // A stream whose length cannot be known (not seekable, broken) has no
    // capacity to decode into.
    double seconds = ov_time_total(&vf, -1);
    double need = std::ceil(seconds * channels * rate * 2);
    if (!(seconds >= 0) || !(need <= static_cast<double>(maxBytes)) ||
        need > double(0xFFFFFFFFu - 38)) {
        ov_clear(&vf);
        return image;
    }
    std::size_t capacity = static_cast<std::size_t>(need);
    image.bytes.reset(new (std::nothrow) std::uint8_t[capacity + TrackImage::headerBytes]);
    if (!image.bytes) {
        ov_clear(&vf);
        return image;
    }
    std::uint8_t* samples = image.bytes.get() + TrackImage::headerBytes;
    std::size_t n = 0;
    int section = 0;
    for (;;) {
        if (cancel.load(std::memory_order_relaxed)) {
            image = {};
            ov_clear(&vf);
            return image;
        }
        // Read in steps of at most 64 KiB so cancelling is quick.
        int length = static_cast<int>(std::min<std::size_t>(capacity - n, 65536));
        long got = ov_read(&vf, reinterpret_cast<char*>(samples + n), length, 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) {
            image = {};
            ov_clear(&vf);
            return image;
        }
        n += static_cast<std::size_t>(got);
    }
    writeTrackHeader(image.bytes.get(), channels, rate, static_cast<std::uint32_t>(n));
    image.sampleBytes = n;
    ov_clear(&vf);
    return image;
}
