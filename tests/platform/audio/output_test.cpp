// The headless output: mixing in step with the virtual clock and the WAV
// file it writes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/sound_fixtures.h"
#include "platform/audio/dsound.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mmio.h"

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
    MMIOINFO info;
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = bytes.data();
    info.cchBuffer = static_cast<LONG>(bytes.size());
    HMMIO h = mmioOpenA(nullptr, &info, MMIO_READ);
    MMCKINFO riff, fmt, data;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, bytes.size() - 8);
    ASSERT_EQ(mmioDescend(h, &fmt, &riff, 0), MMSYSERR_NOERROR);
    WAVEFORMATEX wf;
    ASSERT_EQ(mmioRead(h, reinterpret_cast<char*>(&wf), 16), 16);
    EXPECT_EQ(wf.nChannels, 2);
    EXPECT_EQ(wf.nSamplesPerSec, 44100u);
    EXPECT_EQ(wf.wBitsPerSample, 16);
    mmioAscend(h, &fmt, 0);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    std::vector<std::int16_t> s(data.cksize / 2);
    mmioRead(h, reinterpret_cast<char*>(s.data()), static_cast<LONG>(data.cksize));
    mmioClose(h, 0);
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
