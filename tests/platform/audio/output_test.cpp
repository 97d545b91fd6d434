// The headless output: mixing in step with the virtual clock and the WAV
// file it writes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/sound_fixtures.h"
#include "platform/audio/dsound.h"
#include "platform/audio/mixer.h"

using namespace platform;

namespace {

IDirectSoundBuffer* loudBuffer(IDirectSound* device, std::int16_t value, std::size_t frames) {
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
    DSBUFFERDESC d;
    d.dwSize = DSBUFFERDESC_SIZE;
    d.dwFlags = DSBCAPS_STATIC;
    d.dwBufferBytes = static_cast<DWORD>(frames * 2);
    d.lpwfxFormat = &f;
    IDirectSoundBuffer* b = nullptr;
    device->CreateSoundBuffer(&d, &b, nullptr);
    void *p1, *p2;
    DWORD n1, n2;
    b->Lock(0, d.dwBufferBytes, &p1, &n1, &p2, &n2, 0);
    std::vector<std::int16_t> s(frames, value);
    std::memcpy(p1, s.data(), n1);
    b->Unlock(p1, n1, p2, n2);
    return b;
}

}  // namespace

TEST(HeadlessOutput, MixesExactlyUpToTheClockAndWritesTheWavFile) {
    auto dir = fixtures::tempDir();
    auto path = (dir / "out.wav").string();
    VirtualClock clock(0, 0);
    ASSERT_TRUE(audio::openOutput({true, &clock, path}));
    EXPECT_FALSE(audio::outputIsRealTime());
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    auto* b = loudBuffer(device, 16384, 441);
    clock.advanceToNextFrame();              // 1/60 s: 735 frames
    EXPECT_EQ(audio::outputMixer()->framesMixed(), 735u);
    b->Play(0, 0, 0);                        // starts at the frame's start
    clock.advanceMs(1);                      // 60 ticks: the mix catches up to 779 frames
    EXPECT_EQ(audio::outputMixer()->framesMixed(), 779u);
    clock.advanceMs(999);
    b->Release();
    device->Release();
    audio::closeOutput();

    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), {});
    ASSERT_EQ(bytes.size(), 44u + 4u * (735 + 44100));
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int k = n - 1; k >= 0; --k) v = v << 8 | static_cast<std::uint8_t>(bytes[at + k]);
        return v;
    };
    EXPECT_EQ(std::string(bytes.data(), 4), "RIFF");
    EXPECT_EQ(le(4, 4), bytes.size() - 8);
    EXPECT_EQ(le(22, 2), 2u);      // stereo
    EXPECT_EQ(le(24, 4), 44100u);
    EXPECT_EQ(le(34, 2), 16u);
    EXPECT_EQ(std::string(bytes.data() + 36, 4), "data");
    EXPECT_EQ(le(40, 4), bytes.size() - 44);
    std::vector<std::int16_t> s((bytes.size() - 44) / 2);
    std::memcpy(s.data(), bytes.data() + 44, s.size() * 2);
    EXPECT_EQ(s[2 * 734], 0);
    EXPECT_EQ(s[2 * 735], 16384);      // 0.5 written as 16-bit
    EXPECT_EQ(s[2 * 735 + 1], 16384);
    EXPECT_EQ(s[2 * (735 + 440)], 16384);
    EXPECT_EQ(s[2 * (735 + 441)], 0);  // the sound's 441 frames, no more
    std::filesystem::remove_all(dir);
}

TEST(HeadlessOutput, AClosedOutputIgnoresItsClockAndOutlivingObjectsStaySafe) {
    VirtualClock clock(0, 0);
    ASSERT_TRUE(audio::openOutput({true, &clock, ""}));
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    auto* b = loudBuffer(device, 100, 100);
    auto mixer = audio::outputMixer();
    audio::closeOutput();
    EXPECT_EQ(audio::outputMixer(), nullptr);
    clock.advanceMs(100);
    EXPECT_EQ(mixer->framesMixed(), 0u);
    b->Play(0, 0, 0);  // a bank released after the output still works on its own
    b->Release();
    device->Release();
}

TEST(HeadlessOutput, AnOutputNobodyHearsMixesOnlyWhileCaptured) {
    VirtualClock clock(0, 0);
    audio::OutputConfig config{true, &clock, ""};
    config.heard = false;
    ASSERT_TRUE(audio::openOutput(config));
    EXPECT_FALSE(audio::outputIsHeard());
    auto mixer = audio::outputMixer();
    ASSERT_NE(mixer, nullptr);
    clock.advanceMs(1000);
    EXPECT_EQ(mixer->framesMixed(), 0u);
    std::vector<float> mix;
    audio::captureOutput(&mix);  // a listener after all: the mix resumes at the clock
    EXPECT_TRUE(audio::outputIsHeard());
    clock.advanceMs(10);
    EXPECT_EQ(mixer->framesMixed(), 441u);
    EXPECT_EQ(mix.size(), 2u * 441u);
    audio::closeOutput();
    EXPECT_TRUE(audio::outputIsHeard());  // a closed output is back to the default
}

TEST(DeviceOutput, WithoutADeviceTheGameRunsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_TRUE(audio::openOutput({false, nullptr, ""}));  // not a reason to stop
    EXPECT_EQ(audio::outputMixer(), nullptr);
    IDirectSound* device = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    audio::closeOutput();
    unsetenv("SDL_AUDIODRIVER");
}
