// Start-up cost of the music, measured on a real asset pack (not part of the
// suite): TERVO_ASSET_DIR=build/assets/bin tests_audio
// --gtest_also_run_disabled_tests --gtest_filter='*StartupCost*'
// Prints medians of seven runs; docs/performance.md records them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "audio/music_player.h"
#include "audio/sound_fixtures.h"
#include "platform/audio/file_path.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

template <typename F>
double median(F&& run) {
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) t.push_back(run());
    std::sort(t.begin(), t.end());
    return t[3];
}

}  // namespace

TEST(StartupCost, DISABLED_MusicWithTheRealPack) {
    const char* pack = std::getenv("TERVO_ASSET_DIR");
    if (!pack) GTEST_SKIP() << "set TERVO_ASSET_DIR to a folder holding o/";
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(pack);
    platform::VirtualClock clock(0, 0);
    platform::audio::openOutput({true, &clock, ""});

    const char* files[] = {"o\\title.ogg", "o\\story.ogg", "o\\game.ogg", "o\\boss.ogg"};
    std::atomic<bool> keepGoing{false};
    double decodeInLine = median([&] {
        auto start = Clock::now();
        for (const char* f : files) decodeTrack(platform::openAssetFile(f, "rb"), keepGoing, std::size_t{1} << 30);
        return ms(Clock::now() - start);
    });
    double initOnly = 0, firstFrame = 0, allDecoded = 0;
    initOnly = median([&] {
        MusicPlayer m;
        auto start = Clock::now();
        m.init(nullptr, nullptr);
        double t = ms(Clock::now() - start);
        return t;
    });
    firstFrame = median([&] {
        MusicPlayer m;
        auto start = Clock::now();
        m.init(nullptr, nullptr);
        m.stopAll();
        m.playTrack(0);  // the title's first frame, waiting as a headless run does
        return ms(Clock::now() - start);
    });
    allDecoded = median([&] {
        MusicPlayer m;
        auto start = Clock::now();
        m.init(nullptr, nullptr);
        for (int t = 0; t < 4; ++t) m.playTrack(t);
        return ms(Clock::now() - start);
    });
    auto empty = fixtures::tempDir();
    std::filesystem::current_path(empty);
    double noMusic = median([&] {
        MusicPlayer m;
        auto start = Clock::now();
        m.init(nullptr, nullptr);
        m.playTrack(0);
        return ms(Clock::now() - start);
    });
    std::filesystem::current_path(old);
    std::filesystem::remove_all(empty);
    platform::audio::closeOutput();
    std::printf("decode all four in line: %.1f ms\n"
                "init (decoding in the background): %.2f ms\n"
                "init + title ready (headless first frame): %.1f ms\n"
                "init + all four ready: %.1f ms\n"
                "init + playTrack(0) without music files: %.2f ms\n",
                decodeInLine, initOnly, firstFrame, allDecoded, noMusic);
}
