// The DirectMusic facade: segments from WAV images, the chorus of a path,
// the shared reverb and stopping, heard in the headless mix.
#include <gtest/gtest.h>

#include <deque>

#include "audio/sound_fixtures.h"
#include "platform/audio/dmusic.h"

using namespace platform;

namespace {

class DirectMusic : public fixtures::HeadlessAudio {
protected:
    void SetUp() override {
        HeadlessAudio::SetUp();
        CoInitialize(nullptr);
        ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IDirectMusicPerformance8, reinterpret_cast<void**>(&perf)), S_OK);
        // Without the shared reverb the mix shows the segments' samples exactly.
        DWORD type = withReverb ? DMUS_APATH_SHARED_STEREOPLUSREVERB : DMUS_APATH_DYNAMIC_STEREO;
        ASSERT_EQ(perf->InitAudio(nullptr, nullptr, nullptr, type, 64, DMUS_AUDIOF_ALL, nullptr), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectMusicLoader8,
                                   reinterpret_cast<void**>(&loader)), S_OK);
    }
    void TearDown() override {
        for (auto* s : segments) s->Release();
        for (auto* p : paths) p->Release();
        loader->Release();
        perf->CloseDown();
        perf->Release();
        CoUninitialize();
        HeadlessAudio::TearDown();
    }
    IDirectMusicSegment8* segment(const fixtures::Bytes& image) {
        images.push_back(image);
        DMUS_OBJECTDESC d;
        d.dwSize = DMUS_OBJECTDESC_SIZE;
        d.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
        d.guidClass = CLSID_DirectMusicSegment;
        d.pbMemData = images.back().data();
        d.llMemLength = static_cast<std::int64_t>(images.back().size());
        IDirectMusicSegment8* s = nullptr;
        if (FAILED(loader->GetObject(&d, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&s)))) return nullptr;
        s->Download(perf);
        segments.push_back(s);
        return s;
    }
    IDirectMusicAudioPath8* path() {
        IDirectMusicAudioPath8* p = nullptr;
        perf->CreateStandardAudioPath(DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, true, &p);
        paths.push_back(p);
        return p;
    }
    void play(IDirectMusicSegment8* s, IDirectMusicAudioPath8* p) {
        ASSERT_EQ(perf->PlaySegmentEx(s, nullptr, nullptr, 0, 0, nullptr, nullptr, p), S_OK);
    }
    // A second-long constant signal: its level in the mix is easy to read.
    static fixtures::Bytes steady(std::int16_t v, std::size_t frames = 44100) {
        return fixtures::wav(2, 44100, 16, fixtures::pcm16(std::vector<std::int16_t>(2 * frames, v)));
    }

    bool withReverb = false;
    IDirectMusicPerformance8* perf = nullptr;
    IDirectMusicLoader8* loader = nullptr;
    std::vector<IDirectMusicSegment8*> segments;
    std::vector<IDirectMusicAudioPath8*> paths;
    std::deque<fixtures::Bytes> images;
};

class DirectMusicWithReverb : public DirectMusic {
protected:
    void SetUp() override {
        withReverb = true;
        DirectMusic::SetUp();
    }
};

}  // namespace

TEST_F(DirectMusicWithReverb, TheRoomRingsOnAfterASoundEndsButStopSilencesItAtOnce) {
    std::vector<std::int16_t> click(2 * 441, 0);
    click[0] = click[1] = 20000;
    auto* s = segment(fixtures::wav(2, 44100, 16, fixtures::pcm16(click)));
    ASSERT_NE(s, nullptr);
    play(s, path());
    run(300);
    EXPECT_GT(peak(framesAt(50), framesAt(300)), 1e-3f);  // the tail, long after the click
    perf->Stop(nullptr, nullptr, 0, 0);
    std::size_t stopped = frames();
    run(300);
    EXPECT_EQ(peak(stopped, frames()), 0.f);

    auto* tone = segment(steady(8000));
    play(tone, path());
    run(500);
    EXPECT_GT(peak(stopped + framesAt(400), frames()), 0.2f);
    perf->Stop(nullptr, nullptr, 0, 0);
    stopped = frames();
    run(300);
    EXPECT_EQ(peak(stopped, frames()), 0.f);
}

TEST_F(DirectMusic, TheChorusOnAPathAddsItsDelayedCopy) {
    // A click 100 frames in: without chorus one click, with it a second 16 ms later.
    std::vector<std::int16_t> click(2 * 4410, 0);
    click[200] = click[201] = 20000;
    auto* s = segment(fixtures::wav(2, 44100, 16, fixtures::pcm16(click)));
    auto* p = path();
    IDirectSoundBuffer8* buffer = nullptr;
    p->GetObjectInPath(DMUS_PCHANNEL_ALL, DMUS_PATH_BUFFER, 0, GUID_NULL, 0, IID_IDirectSoundBuffer8,
                       reinterpret_cast<void**>(&buffer));
    DSEFFECTDESC fx;
    fx.dwSize = DSEFFECTDESC_SIZE;
    fx.guidDSFXClass = GUID_DSFX_STANDARD_CHORUS;
    ASSERT_EQ(buffer->SetFX(1, &fx, nullptr), DS_OK);
    buffer->Release();
    play(s, p);
    run(100);
    EXPECT_NEAR(left(100), 0.5f * 20000 / 32768, 1e-4);  // half dry
    EXPECT_EQ(peak(101, 100 + 690), 0.f);
    EXPECT_GT(peak(100 + 690, 100 + 730), 0.1f);  // about 16 ms later
}

TEST_F(DirectMusic, LoaderRefusesBrokenImages) {
    EXPECT_EQ(segment({}), nullptr);
    EXPECT_EQ(segment(fixtures::riff({fixtures::chunk("fmt ", fixtures::fmtBody(2, 44100, 16))})), nullptr);
    auto truncated = steady(1000, 10);
    truncated.resize(truncated.size() - 4);  // data chunk claims more than there is
    EXPECT_EQ(segment(truncated), nullptr);
    auto adpcm = fixtures::riff({fixtures::chunk("fmt ", fixtures::fmtBody(2, 44100, 16, false, 2)),
                                 fixtures::chunk("data", fixtures::Bytes(40, 1))});
    EXPECT_EQ(segment(adpcm), nullptr);
}

TEST(DirectMusicWithoutCom, CreationNeedsCoInitialize) {
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicPerformance8, &out), CO_E_NOTINITIALIZED);
    EXPECT_EQ(out, nullptr);
}
