// MusicPlayer with tracks encoded by the test under o/ of a scratch working
// directory, heard in the headless mix.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "audio/music_player.h"
#include "audio/sound_fixtures.h"
#include "platform/audio/file_path.h"
#include "platform/audio/mixer.h"

namespace {

double rms(const std::vector<float>& mix, std::size_t from, std::size_t to) {
    double e = 0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i) e += double(mix[i]) * mix[i];
    return std::sqrt(e / double(2 * (to - from)));
}

class MusicPlayerTest : public fixtures::HeadlessAudio {
protected:
    static void SetUpTestSuite() {
        // Mono 22.05 kHz keeps encoding quick; the mixer resamples.
        title = new fixtures::Bytes(fixtures::encodeOgg(fixtures::sine(440, 3, 22050, 1, 0.4f), 1, 22050));
        game = new fixtures::Bytes(fixtures::encodeOgg(fixtures::sine(330, 7, 22050, 1, 0.4f), 1, 22050));
        boss = new fixtures::Bytes(fixtures::encodeOgg(fixtures::sine(550, 2, 22050, 1, 0.4f), 1, 22050));
    }
    static void TearDownTestSuite() {
        delete title;
        delete game;
        delete boss;
    }
    void SetUp() override {
        HeadlessAudio::SetUp();
        fixtures::writeFile(dir / "o" / "title.ogg", *title);
        fixtures::writeFile(dir / "o" / "story.ogg", fixtures::Bytes(3000, 'x'));  // damaged
        fixtures::writeFile(dir / "o" / "game.ogg", *game);
        fixtures::writeFile(dir / "o" / "boss.ogg", *boss);
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(old);
        HeadlessAudio::TearDown();
    }
    double level(std::uint32_t fromMs, std::uint32_t toMs) const { return rms(mix, framesAt(fromMs), framesAt(toMs)); }

    static inline fixtures::Bytes *title, *game, *boss;
    std::filesystem::path old;
};

}  // namespace

TEST_F(MusicPlayerTest, PlayingAStillDecodingTrackStartsItOnTheSpot) {
    MusicPlayer music;
    ASSERT_TRUE(music.init(nullptr, nullptr));
    EXPECT_TRUE(music.playTrack(0));  // the decode is waited for: the output runs on virtual time
    run(500);
    EXPECT_GT(peak(0, framesAt(5)), 0.1f);
    EXPECT_GT(level(400, 500), 0.15);
}

TEST_F(MusicPlayerTest, AnIndexPastTheTracksDoesNothingNotEvenStop) {
    MusicPlayer music;
    music.init(nullptr, nullptr);
    music.playTrack(0);
    run(300);
    EXPECT_FALSE(music.playTrack(4));
    EXPECT_FALSE(music.playTrack(-1));
    EXPECT_FALSE(music.fadeOut(4));
    run(300);
    EXPECT_GT(level(500, 600), 0.15);
}

TEST_F(MusicPlayerTest, ATrackThatFailedToLoadStillStopsTheMusic) {
    MusicPlayer music;
    music.init(nullptr, nullptr);
    music.playTrack(0);
    run(300);
    EXPECT_TRUE(music.playTrack(1));  // story.ogg is damaged
    std::size_t at = frames();
    run(300);
    EXPECT_EQ(peak(at, frames()), 0.f);
    EXPECT_FALSE(music.fadeOut(1));
}

TEST_F(MusicPlayerTest, StopAllSilencesAtOnceAndTheTracksDoNotLoop) {
    MusicPlayer music;
    EXPECT_FALSE(music.stopAll());  // no performance yet
    music.init(nullptr, nullptr);
    music.playTrack(3);
    run(200);
    EXPECT_TRUE(music.stopAll());
    std::size_t at = frames();
    run(100);
    EXPECT_EQ(peak(at, frames()), 0.f);
    music.playTrack(3);  // two seconds long
    run(3500);
    EXPECT_GT(level(300 + 1800, 300 + 1950), 0.15);
    EXPECT_LT(level(300 + 3000, 300 + 3500), 1e-3);  // only the last of the room's tail
}

TEST_F(MusicPlayerTest, ReplayingATrackRestartsItFromItsBeginning) {
    MusicPlayer music;
    music.init(nullptr, nullptr);
    music.playTrack(0);
    run(700);
    music.playTrack(0);
    run(700);
    // Stopping clears the chorus and the room, so the second start sounds
    // exactly like the first.
    std::size_t second = framesAt(700);
    for (std::size_t i = 0; i < framesAt(600); i += 37) {
        ASSERT_EQ(left(i), left(second + i)) << i;
        ASSERT_EQ(right(i), right(second + i)) << i;
    }
}

TEST_F(MusicPlayerTest, AFadeReachesSilenceAtFiveSecondsThenTheBossTrackPlaysAtFullVolume) {
    MusicPlayer music;
    music.init(nullptr, nullptr);
    music.playTrack(3);  // the boss track as it sounds at first
    run(500);
    std::vector<float> boss(mix.begin(), mix.end());
    mix.clear();
    music.playTrack(2);
    run(1000);
    double full = level(800, 1000);
    EXPECT_GT(full, 0.15);
    EXPECT_TRUE(music.fadeOut(2));
    run(5300);
    EXPECT_NEAR(20 * std::log10(level(3450, 3550) / full), -48, 1.5);  // halfway in decibels
    EXPECT_LT(level(6100, 6300) / full, 1e-5);                          // silent while it runs on
    music.playTrack(3);
    run(500);
    // Exactly as before: its own path was never faded.
    std::size_t at = framesAt(6300);
    for (std::size_t i = 0; i < framesAt(500); i += 29) ASSERT_EQ(mix[2 * (at + i)], boss[2 * i]) << i;
}

TEST_F(MusicPlayerTest, AFadedTrackStaysSilentUntilTheVolumesAreRestored) {
    MusicPlayer music;
    music.init(nullptr, nullptr);
    music.playTrack(2);
    run(1000);
    const double full = level(800, 1000);
    ASSERT_GT(full, 0.15);
    music.fadeOut(2);
    run(5000);
    EXPECT_LT(level(5900, 6000) / full, 1e-4);
    // Played again in the same game (the clear after the last boss): still
    // silent, though it runs from its start.
    music.playTrack(2);
    run(1000);
    EXPECT_LT(level(6100, 7000) / full, 1e-4);
    // The next game starts: from its start, exactly as the first time.
    music.restoreVolumes();
    music.playTrack(2);
    run(1000);
    const std::size_t again = framesAt(7000);
    for (std::size_t i = 0; i < framesAt(1000); i += 31) ASSERT_EQ(mix[2 * (again + i)], mix[2 * i]) << i;
    EXPECT_NEAR(level(7800, 8000), full, 1e-6);
}

namespace {

// A minute of tone: decoding it takes a noticeable time.
const fixtures::Bytes& longTrack() {
    static const fixtures::Bytes track = fixtures::encodeOgg(fixtures::sine(440, 60, 22050, 1, 0.4f), 1, 22050);
    return track;
}

}  // namespace

TEST(MusicPlayerOnADevice, APlayOfATrackStillDecodingReturnsAndTheTrackStartsWhenReady) {
    // SDL's dummy driver plays in real time into nothing.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto dir = fixtures::tempDir();
    fixtures::writeFile(dir / "o" / "title.ogg", longTrack());
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    platform::audio::openOutput({false, nullptr, ""});
    if (!platform::audio::outputMixer()) {
        std::filesystem::current_path(old);
        GTEST_SKIP() << "no SDL audio driver";
    }
    ASSERT_TRUE(platform::audio::outputIsRealTime());
    std::vector<float> mix;
    platform::audio::captureOutput(&mix);
    auto t0 = std::chrono::steady_clock::now();
    std::atomic<bool> keepGoing{false};
    decodeTrack(platform::openAssetFile("o/title.ogg", "rb"), keepGoing, 1 << 30);
    auto decodeTime = std::chrono::steady_clock::now() - t0;
    {
        MusicPlayer music;
        music.init(nullptr, nullptr);
        auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(music.playTrack(0));
        auto call = std::chrono::steady_clock::now() - start;
        EXPECT_LT(call * 4, decodeTime);  // the call did not wait for the decode
        auto mixer = platform::audio::outputMixer();
        for (int i = 0; i < 400 && !mixer->anyPlaying(platform::audio::Mixer::Bus::Music); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        platform::audio::closeOutput();  // the device stops; the capture is complete
    }
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    std::size_t first = 0;
    while (first < mix.size() / 2 && mix[2 * first] == 0) ++first;
    ASSERT_LT(first + 44100 / 5, mix.size() / 2) << "the title never started";
    EXPECT_GT(first, 0u);  // silent until the track was ready
    double e = 0;
    for (std::size_t i = first + 4410; i < first + 44100 / 5; ++i) e += double(mix[2 * i]) * mix[2 * i];
    EXPECT_GT(std::sqrt(e / (44100 / 5 - 4410)), 0.1);
}

TEST_F(MusicPlayerTest, QuittingWhileTracksDecodeEndsAtOnce) {
    // Long tracks: a full decode takes far longer than cancelling.
    const auto& longTrack = ::longTrack();
    for (const char* name : {"title.ogg", "story.ogg", "game.ogg", "boss.ogg"})
        fixtures::writeFile(dir / "o" / name, longTrack);
    auto start = std::chrono::steady_clock::now();
    {
        MusicPlayer whole;
        whole.init(nullptr, nullptr);
        whole.playTrack(3);  // waits for the last track
    }
    auto decodeAll = std::chrono::steady_clock::now() - start;
    start = std::chrono::steady_clock::now();
    {
        MusicPlayer quitting;
        quitting.init(nullptr, nullptr);
        quitting.release();
    }
    auto quit = std::chrono::steady_clock::now() - start;
    EXPECT_LT(quit * 4, decodeAll) << "decoding " << std::chrono::duration<double>(decodeAll).count()
                                   << " s, quitting " << std::chrono::duration<double>(quit).count() << " s";
}

namespace {

// The title track (a minute long) played on SDL's dummy device in real time:
// `calls` runs while it is still decoding; the capture ends `listenMs` after
// the music starts. Empty when there is no audio driver.
std::vector<float> playWhileDecoding(void (*calls)(MusicPlayer&), int listenMs) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto dir = fixtures::tempDir();
    fixtures::writeFile(dir / "o" / "title.ogg", longTrack());
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::vector<float> mix;
    platform::audio::openOutput({false, nullptr, ""});
    if (auto mixer = platform::audio::outputMixer()) {
        platform::audio::captureOutput(&mix);
        MusicPlayer music;
        music.init(nullptr, nullptr);
        calls(music);
        for (int i = 0; i < 400 && !mixer->anyPlaying(platform::audio::Mixer::Bus::Music); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(listenMs));
        platform::audio::closeOutput();  // the capture is complete
    }
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    return mix;
}

// Whether the capture reaches toMs after the first sounding frame. A build
// too slow to mix in real time (ThreadSanitizer's) captures less than the
// wall time it listened for.
bool capturedUpTo(const std::vector<float>& mix, int toMs) {
    std::size_t first = 0;
    while (first < mix.size() / 2 && mix[2 * first] == 0) ++first;
    return first + 44100 * toMs / 1000 <= mix.size() / 2;
}

// Level in decibels of [fromMs, toMs) after the first sounding frame.
double levelAfterStart(const std::vector<float>& mix, int fromMs, int toMs) {
    std::size_t first = 0;
    while (first < mix.size() / 2 && mix[2 * first] == 0) ++first;
    const std::size_t from = first + 44100 * fromMs / 1000, to = first + 44100 * toMs / 1000;
    if (to > mix.size() / 2) return -1000;
    return 20 * std::log10(rms(mix, from, to));
}

}  // namespace

TEST(MusicPlayerOnADevice, AFadeAskedWhileTheTrackDecodesTakesEffectWhenItIsReady) {
    const auto mix = playWhileDecoding(
        [](MusicPlayer& music) {
            EXPECT_TRUE(music.playTrack(0));
            EXPECT_TRUE(music.fadeOut(0));
        },
        2000);
    if (mix.empty()) GTEST_SKIP() << "no SDL audio driver";
    if (!capturedUpTo(mix, 1800)) GTEST_SKIP() << "the output fell behind real time in this build";
    // Wide windows: the chorus makes the level waver from one 100 ms to the next.
    const double first = levelAfterStart(mix, 400, 800);
    ASSERT_GT(first, -60) << "the title never started";
    // 96 dB over 5 s: 19.2 dB a second.
    EXPECT_NEAR(levelAfterStart(mix, 1400, 1800) - first, -19.2, 4);
}

TEST(MusicPlayerOnADevice, RestoringTheVolumesDropsAFadeStillWaitingForItsTrack) {
    const auto mix = playWhileDecoding(
        [](MusicPlayer& music) {
            music.fadeOut(0);
            music.playTrack(0);
            music.restoreVolumes();
        },
        2000);
    if (mix.empty()) GTEST_SKIP() << "no SDL audio driver";
    if (!capturedUpTo(mix, 1800)) GTEST_SKIP() << "the output fell behind real time in this build";
    const double first = levelAfterStart(mix, 400, 800);
    ASSERT_GT(first, -30) << "the title never started";
    EXPECT_NEAR(levelAfterStart(mix, 1400, 1800), first, 3);
}
