// The DirectSound facade over the headless output: what reaches the mix,
// locking, stopping in place, and what it refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/sound_fixtures.h"
#include "platform/audio/dsound.h"

using namespace platform;

namespace {

class DirectSound : public fixtures::HeadlessAudio {
protected:
    void SetUp() override {
        HeadlessAudio::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    }
    void TearDown() override {
        if (device) device->Release();
        HeadlessAudio::TearDown();
    }
    IDirectSoundBuffer* create(WAVEFORMATEX f, DWORD bytes, HRESULT* result = nullptr) {
        DSBUFFERDESC d;
        d.dwSize = DSBUFFERDESC_SIZE;
        d.dwFlags = DSBCAPS_STATIC;
        d.dwBufferBytes = bytes;
        d.lpwfxFormat = &f;
        IDirectSoundBuffer* b = nullptr;
        HRESULT hr = device->CreateSoundBuffer(&d, &b, nullptr);
        if (result) *result = hr;
        return b;
    }
    static WAVEFORMATEX format(int channels, DWORD rate, int bits) {
        WAVEFORMATEX f{};
        f.wFormatTag = WAVE_FORMAT_PCM;
        f.nChannels = static_cast<WORD>(channels);
        f.nSamplesPerSec = rate;
        f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
        f.nAvgBytesPerSec = rate * f.nBlockAlign;
        f.wBitsPerSample = static_cast<WORD>(bits);
        return f;
    }
    void fill(IDirectSoundBuffer* b, const std::vector<std::int16_t>& s) {
        void *p1, *p2;
        DWORD n1, n2;
        ASSERT_EQ(b->Lock(0, static_cast<DWORD>(s.size() * 2), &p1, &n1, &p2, &n2, 0), DS_OK);
        std::memcpy(p1, s.data(), n1);
        ASSERT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
    }

    IDirectSound* device = nullptr;
};

}  // namespace

TEST_F(DirectSound, StopHaltsInPlaceAndPlayContinuesFromThere) {
    auto s = fixtures::ramp(44100);
    auto* b = create(format(1, 44100, 16), static_cast<DWORD>(s.size() * 2));
    ASSERT_NE(b, nullptr);
    fill(b, s);
    b->Play(0, 0, 0);
    run(100);
    b->Stop();
    DWORD play = 0;
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 4410u * 2);
    run(100);
    EXPECT_EQ(peak(4410, 8820), 0.f);
    b->Play(0, 0, 0);
    run(10);
    EXPECT_FLOAT_EQ(left(8820), s[4410] / 32768.0f);  // continues, not rewound
    b->Stop();
    b->Stop();  // stopping a stopped buffer changes nothing
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, (4410u + 441) * 2);
    b->Release();
}

TEST_F(DirectSound, LockSpanningTheEndComesInTwoParts) {
    auto* b = create(format(1, 44100, 16), 1000);
    ASSERT_NE(b, nullptr);
    void *p1, *p2;
    DWORD n1, n2;
    ASSERT_EQ(b->Lock(800, 400, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 200u);
    EXPECT_EQ(n2, 200u);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(static_cast<char*>(p1) - static_cast<char*>(p2), 800);
    EXPECT_EQ(b->Lock(1000, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(0, 1001, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    b->Release();
}

TEST_F(DirectSound, RefusesWhatItCannotPlay) {
    HRESULT hr;
    EXPECT_EQ(create(format(3, 44100, 16), 600, &hr), nullptr);
    EXPECT_EQ(hr, DSERR_INVALIDPARAM);
    EXPECT_EQ(create(format(1, 44100, 24), 600, &hr), nullptr);
    EXPECT_EQ(create(format(1, 50, 16), 600, &hr), nullptr);
    EXPECT_EQ(create(format(1, 44100, 16), 0, &hr), nullptr);  // an empty data chunk
    auto f = format(1, 44100, 16);
    f.wFormatTag = 3;
    EXPECT_EQ(create(f, 600, &hr), nullptr);
    f = format(2, 44100, 16);
    f.nBlockAlign = 2;
    EXPECT_EQ(create(f, 600, &hr), nullptr);
}

TEST(DirectSoundWithoutOutput, CreateFailsSoTheGameRunsSilent) {
    IDirectSound* d = reinterpret_cast<IDirectSound*>(0x1);
    EXPECT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(d, nullptr);
}
