// WavWriter: streams interleaved float frames into a 16-bit PCM WAV file;
// the RIFF and data sizes are filled in by close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform::audio {

class WavWriter {
public:
    ~WavWriter() { close(); }
    bool open(const std::string& path, std::uint32_t rate, int channels);
    void write(const float* samples, std::size_t frames);
    void close();
    bool isOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_ = nullptr;
    int channels_ = 0;
    std::uint32_t rate_ = 0;
    std::uint64_t dataBytes_ = 0;
};

}  // namespace platform::audio
