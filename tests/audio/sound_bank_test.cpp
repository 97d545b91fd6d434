// SoundBank heard in the headless mix: timing, restarts, banks sounding
// together, empty entries, and which WAV files load.
#include <gtest/gtest.h>

#include "audio/sound_bank.h"
#include "audio/sound_fixtures.h"

using fixtures::Bytes;
using fixtures::chunk;

namespace {

class SoundBankTest : public fixtures::HeadlessAudio {
protected:
    std::string file(const std::string& name, const Bytes& bytes) {
        auto path = dir / name;
        fixtures::writeFile(path, bytes);
        return path.string();
    }
    // A mono 44.1 kHz file of n distinct samples, 1000 upwards.
    std::string rampFile(const std::string& name, std::size_t n) {
        return file(name, fixtures::wav(1, 44100, 16, fixtures::pcm16(fixtures::ramp(n))));
    }
    // Does entry 0 of a bank holding just this file make any sound?
    bool sounds(const Bytes& bytes) {
        SoundBank bank("Test");
        bank.open(nullptr, {file("probe.wav", bytes)});
        std::size_t from = frames();
        bank.play(0);
        run(50);
        return peak(from, frames()) > 0;
    }
    static float s16(int v) { return static_cast<float>(v) / 32768.0f; }
};

const Bytes tone = fixtures::pcm16(fixtures::ramp(2000));

}  // namespace

TEST_F(SoundBankTest, APlayedEntrysSamplesAppearFromTheMomentOfPlay) {
    SoundBank bank("World");
    ASSERT_TRUE(bank.open(nullptr, {rampFile("a.wav", 100), rampFile("b.wav", 4410)}));
    run(100);
    bank.play(1);
    run(200);
    EXPECT_EQ(peak(0, framesAt(100)), 0.f);
    for (std::size_t i = 0; i < 4410; i += 97) {
        ASSERT_FLOAT_EQ(left(framesAt(100) + i), s16(1000 + static_cast<int>(i)));
        ASSERT_FLOAT_EQ(right(framesAt(100) + i), s16(1000 + static_cast<int>(i)));
    }
    EXPECT_EQ(peak(framesAt(100) + 4410, frames()), 0.f);  // played once, no loop
}

TEST_F(SoundBankTest, ReplayingCutsTheEarlierPlaybackAndStartsAgain) {
    SoundBank bank("PlayerSide");
    bank.open(nullptr, {rampFile("a.wav", 8820)});
    bank.play(0);
    run(50);
    bank.play(0);  // rewinds: one voice, so no overlap
    run(300);
    std::size_t again = framesAt(50);
    EXPECT_FLOAT_EQ(left(again - 1), s16(1000 + static_cast<int>(again) - 1));
    EXPECT_FLOAT_EQ(left(again), s16(1000));
    EXPECT_FLOAT_EQ(left(again + 8819), s16(1000 + 8819));
    EXPECT_EQ(peak(again + 8820, frames()), 0.f);
    // stop then play, as the owners restart an entry, does the same; a stop
    // of an entry that has finished changes nothing.
    bank.stop(0);
    std::size_t at = frames();
    bank.play(0);
    run(20);
    bank.stop(0);
    bank.play(0);
    run(20);
    EXPECT_FLOAT_EQ(left(at + framesAt(20)), s16(1000));
}

TEST_F(SoundBankTest, TwoBanksHoldingTheSameFileSoundTogether) {
    auto path = rampFile("bokaan.wav", 4410);
    SoundBank world("World"), player("PlayerSide");
    world.open(nullptr, {path});
    player.open(nullptr, {"missing.wav", "missing.wav", path});
    world.play(0);
    player.play(2);
    run(10);
    EXPECT_FLOAT_EQ(left(10), 2 * s16(1010));
    world.stop(0);  // stopping one copy leaves the other playing
    run(10);
    EXPECT_FLOAT_EQ(left(framesAt(10) + 5), s16(1000 + static_cast<int>(framesAt(10)) + 5));
}

TEST_F(SoundBankTest, EmptyEntriesAndABankWithoutDeviceAreSilent) {
    SoundBank bank("World");
    ASSERT_TRUE(bank.open(nullptr, {"nowhere.wav"}));
    bank.play(0);
    bank.play(5);
    bank.play(39);
    bank.play(40);   // outside the bank
    bank.play(-1);
    bank.stop(7);
    bank.stop(0);
    run(50);
    EXPECT_EQ(peak(0, frames()), 0.f);

    platform::audio::closeOutput();  // no device at all
    SoundBank silent("World");
    EXPECT_FALSE(silent.open(nullptr, {rampFile("a.wav", 100)}));
    silent.play(0);
    silent.stop(0);
}

TEST_F(SoundBankTest, EightBitAndStereoFilesPlayInTheirOwnFormat) {
    // Kept under -1 dBFS, where the output's limiter leaves samples alone.
    Bytes eight = {0x80, 0xC0, 0x40, 0xF0};
    SoundBank bank("Display");
    std::vector<std::int16_t> stereo = {100, -100, 200, -200};
    bank.open(nullptr, {file("8.wav", fixtures::wav(1, 44100, 8, eight)),
                        file("s.wav", fixtures::wav(2, 44100, 16, fixtures::pcm16(stereo)))});
    bank.play(0);
    bank.play(1);
    run(1);
    EXPECT_FLOAT_EQ(left(0), 0.f + s16(100));
    EXPECT_FLOAT_EQ(right(0), 0.f + s16(-100));
    EXPECT_FLOAT_EQ(left(1), 0.5f + s16(200));
    EXPECT_FLOAT_EQ(right(1), 0.5f + s16(-200));
    EXPECT_FLOAT_EQ(left(2), -0.5f);
    EXPECT_FLOAT_EQ(left(3), 112 / 128.0f);
}

TEST_F(SoundBankTest, TheFormatChunkMustComeFirstAndBePcm) {
    auto fmt16 = chunk("fmt ", fixtures::fmtBody(1, 44100, 16));
    auto fmt18 = chunk("fmt ", fixtures::fmtBody(1, 44100, 16, true));
    auto data = chunk("data", tone);
    auto list = chunk("LIST", {'I', 'N', 'F', 'O'});
    EXPECT_TRUE(sounds(fixtures::riff({fmt16, data})));
    EXPECT_TRUE(sounds(fixtures::riff({fmt18, data})));
    // Chunks between "fmt " and "data" are skipped by the search.
    EXPECT_TRUE(sounds(fixtures::riff({fmt16, list, chunk("fact", {1, 0, 0, 0}), data})));
    // Anything before "fmt " fails, LIST included.
    EXPECT_FALSE(sounds(fixtures::riff({list, fmt16, data})));
    EXPECT_FALSE(sounds(fixtures::riff({chunk("junk", {}), fmt16, data})));
    // Not PCM.
    EXPECT_FALSE(sounds(fixtures::riff({chunk("fmt ", fixtures::fmtBody(1, 44100, 32, false, 3)), data})));
    // No data chunk, or not a WAVE form.
    EXPECT_FALSE(sounds(fixtures::riff({fmt16})));
    Bytes avi = fixtures::riff({fmt16, data});
    avi[8] = 'A';
    EXPECT_FALSE(sounds(avi));
}

TEST_F(SoundBankTest, SizesMustBeExact) {
    auto fmt16 = chunk("fmt ", fixtures::fmtBody(1, 44100, 16));
    // A 16-byte format chunk that ends the file: the 18-byte read falls short.
    Bytes fmtOnly = fixtures::riff({fmt16});
    EXPECT_FALSE(sounds(fmtOnly));
    // A data chunk claiming more than the file holds.
    Bytes cut = fixtures::riff({fmt16, chunk("data", tone)});
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(sounds(cut));
    Bytes huge = fixtures::riff({fmt16, chunk("data", tone)});
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;  // data size 4 GiB
    EXPECT_FALSE(sounds(huge));
    // A format the buffer cannot take (no samples, or 3 channels).
    EXPECT_FALSE(sounds(fixtures::riff({fmt16, chunk("data", {})})));
    EXPECT_FALSE(sounds(fixtures::riff({chunk("fmt ", fixtures::fmtBody(3, 44100, 16)), chunk("data", tone)})));
    EXPECT_FALSE(sounds({}));
    EXPECT_FALSE(sounds({'R', 'I', 'F', 'F'}));
}
