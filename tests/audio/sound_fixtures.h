// Sounds made by the tests: RIFF/WAV bytes assembled chunk by chunk, small
// Ogg Vorbis streams encoded in memory, temporary files, and a headless
// audio output on a virtual clock whose mix the test can read.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/audio_output.h"
#include "platform/clock.h"

namespace fixtures {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void putId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}

inline Bytes chunk(const char* id, const Bytes& body) {
    Bytes b;
    putId(b, id);
    put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

// A format chunk body: 16 bytes, or 18 with the extra-size field.
inline Bytes fmtBody(int channels, std::uint32_t rate, int bits, bool withExtra = false, int tag = 1) {
    Bytes b;
    int align = channels * bits / 8;
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * align);
    put16(b, align);
    put16(b, bits);
    if (withExtra) put16(b, 0);
    return b;
}

inline Bytes pcm16(const std::vector<std::int16_t>& samples) {
    Bytes b;
    for (auto s : samples) put16(b, static_cast<std::uint16_t>(s));
    return b;
}

inline Bytes riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    putId(body, "WAVE");
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body);
}

// The usual file: "fmt " (16 bytes) then "data".
inline Bytes wav(int channels, std::uint32_t rate, int bits, const Bytes& data) {
    return riff({chunk("fmt ", fmtBody(channels, rate, bits)), chunk("data", data)});
}

// Distinct, easily recognised 16-bit samples: 1000, 1001, ...
inline std::vector<std::int16_t> ramp(std::size_t n, int start = 1000) {
    std::vector<std::int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<std::int16_t>(start + static_cast<int>(i % 20000));
    return s;
}

inline std::vector<float> sine(double hz, double seconds, std::uint32_t rate, int channels, float amp) {
    std::size_t frames = static_cast<std::size_t>(seconds * rate);
    std::vector<float> out(frames * channels);
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out[i * channels + c] = amp * static_cast<float>(std::sin(2 * M_PI * hz * double(i) / rate));
    return out;
}

// Ogg Vorbis bytes of the interleaved samples (libvorbisenc, VBR quality 0.1).
Bytes encodeOgg(const std::vector<float>& interleaved, int channels, long rate);

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory per test, removed afterwards.
inline std::filesystem::path tempDir() {
    auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() /
               ("tervo-audio-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A headless output on its own virtual clock; mixed frames land in `mix`.
class HeadlessAudio : public ::testing::Test {
protected:
    static constexpr std::uint32_t rate = 44100;
    void SetUp() override {
        dir = tempDir();
        ASSERT_TRUE(platform::audio::openOutput({true, &clock, ""}));
        platform::audio::captureOutput(&mix);
    }
    void TearDown() override {
        platform::audio::closeOutput();
        std::filesystem::remove_all(dir);
    }
    // Advances the virtual clock (and so the mix) by ms.
    void run(std::uint32_t ms) { clock.advanceMs(ms); }
    std::size_t frames() const { return mix.size() / 2; }
    float left(std::size_t frame) const { return mix[2 * frame]; }
    float right(std::size_t frame) const { return mix[2 * frame + 1]; }
    // Largest magnitude in frames [from, to).
    float peak(std::size_t from, std::size_t to) const {
        float p = 0;
        for (std::size_t i = 2 * from; i < 2 * to && i < mix.size(); ++i) p = std::max(p, std::abs(mix[i]));
        return p;
    }
    static std::size_t framesAt(std::uint32_t ms) { return std::size_t{ms} * rate / 1000; }

    platform::VirtualClock clock{0, 0};
    std::vector<float> mix;
    std::filesystem::path dir;
};

}  // namespace fixtures
