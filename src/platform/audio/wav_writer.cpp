#include "platform/audio/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace platform::audio {

namespace {

void put16(std::uint8_t* p, std::uint16_t v) { std::memcpy(p, &v, 2); }
void put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

void header(std::uint8_t h[44], std::uint32_t rate, int channels, std::uint32_t dataBytes) {
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, static_cast<std::uint16_t>(channels));
    put32(h + 24, rate);
    put32(h + 28, rate * channels * 2);
    put16(h + 32, static_cast<std::uint16_t>(channels * 2));
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
}

}  // namespace

bool WavWriter::open(const std::string& path, std::uint32_t rate, int channels) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    channels_ = channels;
    dataBytes_ = 0;
    std::uint8_t h[44];
    header(h, rate, channels, 0);
    std::fwrite(h, 1, 44, file_);
    rate_ = rate;
    return true;
}

void WavWriter::write(const float* samples, std::size_t frames) {
    if (!file_) return;
    // Converted a piece at a time on the stack: writing allocates nothing.
    std::int16_t pcm[2048];
    for (std::size_t left = frames * channels_; left > 0;) {
        const std::size_t count = std::min<std::size_t>(left, std::size(pcm));
        for (std::size_t i = 0; i < count; ++i) {
            const float s = std::clamp(samples[i], -1.0f, 1.0f);
            pcm[i] = static_cast<std::int16_t>(std::lrint(s * 32767.0f));
        }
        dataBytes_ += std::fwrite(pcm, 2, count, file_) * 2;
        samples += count;
        left -= count;
    }
}

void WavWriter::close() {
    if (!file_) return;
    // Sizes past 4 GiB cannot be written; the file then stops being valid
    // at that length, which no run gets near.
    std::uint32_t bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(dataBytes_, 0xFFFFFFD0u));
    std::uint8_t h[44];
    header(h, rate_, channels_, bytes);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(h, 1, 44, file_);
    std::fclose(file_);
    file_ = nullptr;
}

}  // namespace platform::audio
