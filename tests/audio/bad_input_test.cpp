// Damaged sound and music files, made by mutating good ones with a fixed
// seed, fed through the same paths as the fuzz targets (fuzz/audio): none
// may crash or read out of bounds (the sanitizer build checks the reads).
#include <gtest/gtest.h>

#include <random>

#include "../../fuzz/audio/audio_inputs.h"
#include "audio/sound_fixtures.h"

// libvorbisfile 1.3.7 loses 8 bytes when ov_open fails on some damaged
// streams (the library's own error path; the caller gets nothing to free):
// the platform layer's leak suppressions name that library.

namespace {

using fixtures::Bytes;

// Flips, overwrites with boundary values, cuts, duplicates and drops spans.
Bytes mutate(Bytes b, std::mt19937& rng) {
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        std::size_t at = rng() % b.size();
        switch (rng() % 6) {
            case 0: b[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
            case 1: {
                static const std::uint32_t values[] = {0, 1, 2, 16, 18, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
                std::uint32_t v = values[rng() % 8];
                for (int k = 0; k < 4 && at + k < b.size(); ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
                break;
            }
            case 2: b.resize(at); break;
            case 3: b.insert(b.begin() + static_cast<long>(at), b.begin(), b.begin() + static_cast<long>(std::min<std::size_t>(at, 64))); break;
            case 4: b.erase(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(std::min(b.size(), at + 1 + rng() % 32))); break;
            default: b[at] = static_cast<std::uint8_t>(rng()); break;
        }
    }
    return b;
}

}  // namespace

TEST(BadInput, MutatedWavFilesLeaveTheirEntryEmptyOrPlay) {
    auto dir = fixtures::tempDir();
    audio_inputs::Session session;
    auto samples = fixtures::pcm16(fixtures::ramp(300));
    const std::vector<Bytes> seeds = {
        fixtures::wav(1, 44100, 16, samples),
        fixtures::wav(2, 22050, 8, Bytes(200, 0x90)),
        fixtures::riff({fixtures::chunk("fmt ", fixtures::fmtBody(2, 48000, 16, true)),
                        fixtures::chunk("LIST", Bytes(11, 'a')), fixtures::chunk("data", samples)}),
    };
    std::mt19937 rng(20261207);
    for (int i = 0; i < 600; ++i) {
        Bytes input = mutate(seeds[i % seeds.size()], rng);
        audio_inputs::feedWav(session, input.data(), input.size(), (dir / "in.wav").string());
    }
    std::filesystem::remove_all(dir);
}

TEST(BadInput, MutatedOggStreamsLeaveTheirTrackEmptyOrPlay) {
    audio_inputs::Session session;
    const std::vector<Bytes> seeds = {
        fixtures::encodeOgg(fixtures::sine(440, 0.2, 22050, 1, 0.5f), 1, 22050),
        fixtures::encodeOgg(fixtures::sine(300, 0.1, 44100, 2, 0.5f), 2, 44100),
    };
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        Bytes input = mutate(seeds[i % seeds.size()], rng);
        audio_inputs::feedOgg(session, input.data(), input.size());
    }
}
