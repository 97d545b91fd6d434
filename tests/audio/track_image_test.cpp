// Decoding an Ogg Vorbis stream into the track's WAV image.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "audio/sound_fixtures.h"
#include "audio/track_image.h"

namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::FILE* memoryFile(const fixtures::Bytes& b) {
    std::FILE* f = std::tmpfile();
    if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
    std::rewind(f);
    return f;
}

const std::atomic<bool> keepGoing{false};

}  // namespace

TEST(TrackImage, HeaderFollowsTheTableForTheStreamsFormat) {
    struct Case {
        int channels;
        long rate;
    };
    for (Case c : {Case{2, 44100}, Case{1, 22050}}) {
        auto pcm = fixtures::sine(440, 0.25, static_cast<std::uint32_t>(c.rate), c.channels, 0.5f);
        TrackImage image = decodeTrack(memoryFile(fixtures::encodeOgg(pcm, c.channels, c.rate)), keepGoing, 1 << 24);
        ASSERT_TRUE(image);
        const std::uint8_t* h = image.bytes.get();
        std::uint32_t n = static_cast<std::uint32_t>(pcm.size() * 2);  // every frame comes back
        EXPECT_EQ(image.sampleBytes, n);
        EXPECT_EQ(std::memcmp(h, "RIFF", 4), 0);
        EXPECT_EQ(le32(h + 4), 38 + n);
        EXPECT_EQ(std::memcmp(h + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(le32(h + 16), 18u);
        EXPECT_EQ(le16(h + 20), 1);
        EXPECT_EQ(le16(h + 22), c.channels);
        EXPECT_EQ(le32(h + 24), std::uint32_t(c.rate));
        EXPECT_EQ(le32(h + 28), std::uint32_t(c.rate * c.channels * 2));
        EXPECT_EQ(le16(h + 32), c.channels * 2);
        EXPECT_EQ(le16(h + 34), 16);
        EXPECT_EQ(le16(h + 36), 18);
        EXPECT_EQ(std::memcmp(h + 38, "data", 4), 0);
        EXPECT_EQ(le32(h + 42), n);
        // The samples are the tone, give or take the codec.
        const auto* s = reinterpret_cast<const std::int16_t*>(h + 46);
        double err = 0, ref = 0;
        for (std::size_t i = 0; i < pcm.size(); ++i) {
            double d = s[i] / 32768.0 - pcm[i];
            err += d * d;
            ref += double(pcm[i]) * pcm[i];
        }
        EXPECT_LT(10 * std::log10(err / ref), -15) << c.channels << " channels";
    }
}

TEST(TrackImage, StreamsThatCannotBeDecodedWholeGiveNoImage) {
    auto ogg = fixtures::encodeOgg(fixtures::sine(440, 0.25, 44100, 2, 0.5f), 2, 44100);
    // Not Ogg at all.
    EXPECT_FALSE(decodeTrack(memoryFile(fixtures::Bytes(5000, 'x')), keepGoing, 1 << 24));
    EXPECT_FALSE(decodeTrack(memoryFile({}), keepGoing, 1 << 24));
    EXPECT_FALSE(decodeTrack(nullptr, keepGoing, 1 << 24));
    // Larger than allowed.
    EXPECT_FALSE(decodeTrack(memoryFile(ogg), keepGoing, 1000));
    // Cancelled.
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(decodeTrack(memoryFile(ogg), cancel, 1 << 24));
    // Through a pipe the length cannot be known.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], ogg.data(), ogg.size()), static_cast<ssize_t>(ogg.size()));
    close(fds[1]);
    EXPECT_FALSE(decodeTrack(fdopen(fds[0], "rb"), keepGoing, 1 << 24));
}
