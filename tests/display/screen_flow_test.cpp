// The screen flow in-process, frame by frame through renderFrame: what the
// field cannot yet bring about by itself (hit points and the bosses' state)
// is set directly. Pictures are read back from the recorded sprite calls,
// sounds and music from the audio record.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/json_writer.h"
#include "audio/audio_trace.h"
#include "audio/music_player.h"
#include "display/display.h"
#include "platform/gfx/gfx_config.h"
#include "player/player_side.h"
#include "support/device_fixture.h"
#include "support/json.h"
#include "support/mini_pack.h"
#include "world/world.h"

using namespace platform;

namespace {

// One image drawn with the sprite: its index in the screen images and where.
using Drawn = std::tuple<int, float, float>;
// The frame's screen sounds ("sound 12") then its music calls in order
// ("stopAll", "playTrack 2", "fadeOut 2").
using Calls = std::vector<std::string>;

class ScreenFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeMiniPack(fixture_.dir(), displayFiles());
        display->init(fixture_.window());
        world->attachAll(display->device(), fixture_.window(), display->sprite());
        side->attach(display->device(), fixture_.window(), display->sprite());
        setAudioCallRecording(true);
    }
    void TearDown() override { setAudioCallRecording(false); }

    // One frame with these codes; afterwards `drawn` and `calls` hold what it did.
    void frame(std::int32_t action = 0, std::int32_t direction = 0) {
        gfx::setCurrentFrame(frameNumber++);
        display->renderFrame(*world, *side, *music, action, direction);
        readDrawn();
        readCalls();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // Frames until `done` holds after one (at most `limit`); returns how many ran.
    template <typename Done>
    int framesUntil(Done done, int limit = 5000) {
        for (int n = 1; n <= limit; ++n) {
            frame();
            if (done()) return n;
        }
        return -1;
    }
    // A start from the first title, through the 50 frames of the hold: the
    // next frame plays.
    void startGame() {
        frame(5);
        ASSERT_EQ(display->inGame, 1);
        frames(49);
        ASSERT_EQ(display->screenDelay, 0);
        ASSERT_EQ(display->titleScreen, 1);
    }
    bool drew(int image) const {
        for (const auto& d : drawn)
            if (std::get<0>(d) == image) return true;
        return false;
    }

    DeviceFixture fixture_{false};
    std::unique_ptr<Display> display = std::make_unique<Display>();
    std::unique_ptr<World> world = std::make_unique<World>();
    std::unique_ptr<PlayerSide> side = std::make_unique<PlayerSide>();
    std::unique_ptr<MusicPlayer> music = std::make_unique<MusicPlayer>();  // never started: calls are recorded
    std::uint64_t frameNumber = 1;
    std::vector<Drawn> drawn;
    Calls calls;

private:
    void readDrawn() {
        drawn.clear();
        float x = 0, y = 0;
        for (const auto& c : gfx::frameCalls()) {
            if (c.op == "Sprite.SetTransform") {
                x = static_cast<float>(c.args[12]);
                y = static_cast<float>(c.args[13]);
            } else if (c.op == "Sprite.Draw") {
                int index = -1;
                for (int i = 0; i < ScreenImages::imageCount; ++i) {
                    const auto* image = display->screenImages.images[i];
                    if (image && image->handle() == c.args[0]) index = i;
                }
                if (index >= 0) drawn.emplace_back(index, x, y);  // the HUD's images are not screens
            }
        }
    }
    void readCalls() {
        calls.clear();
        JsonWriter w;
        traceAudio(w);
        const auto audio = testing_json::parse(w.finish())["audio"];
        for (const auto& p : audio["played"].items) {
            EXPECT_EQ(p["owner"].str(), "Display");
            calls.push_back("sound " + std::to_string(p["entry"].integer()));
        }
        for (const auto& m : audio["music"].items)
            calls.push_back(m.has("t") ? m["call"].str() + " " + std::to_string(m["t"].integer()) : m["call"].str());
    }
};

}  // namespace

TEST_F(ScreenFlowTest, TheTitleShowsTheMenuOfEachDifficulty) {
    frame();
    EXPECT_EQ(calls, (Calls{"stopAll", "playTrack 0"}));  // once per visit
    EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 0, -14}, {17, 500, 370}, {21, 496, 420}, {16, 500, 470}, {19, 300, 520}}));
    frame(0, 2);  // down: normal
    frames(6);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 0, -14}, {15, 500, 370}, {22, 500, 420}, {16, 500, 470}, {23, 300, 520}}));
    frame(0, 2);  // down: hard, shown from the next frame
    frame();
    EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 0, -14}, {15, 500, 370}, {21, 496, 420}, {18, 500, 470}, {20, 440, 520}}));
}

TEST_F(ScreenFlowTest, AStartHoldsTheTitleFiftyFramesThenPlayBeginsWithTheGameMusic) {
    display->difficulty = 2;
    world->boss.hitPoints = 7;
    frame(5);
    EXPECT_EQ(calls, (Calls{"sound 11", "stopAll", "playTrack 0"}));
    EXPECT_EQ(world->boss.hitPoints, 50);  // reset on the chosen difficulty
    EXPECT_EQ(display->screenDelay, 49);
    EXPECT_EQ(display->idleFrames, 1);
    // The hold: the title stays, frozen; the menu does not move.
    for (int i = 0; i < 49; ++i) {
        frame(5, 1);
        EXPECT_TRUE(drew(1));
        EXPECT_TRUE(drew(18));
        EXPECT_TRUE(calls.empty()) << i;
    }
    EXPECT_EQ(display->difficulty, 2);
    frame();
    EXPECT_EQ(display->titleScreen, 0);
    EXPECT_TRUE(drawn.empty());
    EXPECT_EQ(calls, (Calls{"stopAll", "playTrack 2"}));
    frames(3);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ScreenFlowTest, GameOverShowsItsImageInTheSecondHalfThenTheTitleTakesAStartAtOnce) {
    startGame();
    frames(10);
    side->hpGauge.value = 0;
    frame();
    EXPECT_EQ(display->gameOver, 1);
    EXPECT_EQ(display->gameOverTimer, 599);
    EXPECT_EQ(calls, (Calls{"sound 12", "stopAll"}));
    side->hpGauge.value = 3;  // what the player's reset will give back
    // Nothing is shown for the first 300 frames.
    for (int i = 1; i <= 300; ++i) {
        frame();
        ASSERT_FALSE(drew(0)) << i;
        ASSERT_EQ(display->inGame, 1);
    }
    // Then the image slides down 10 pixels a frame from -770 and rests at -420.
    std::vector<float> ys;
    for (int i = 301; i < 600; ++i) {
        frame();
        ASSERT_EQ(drawn.size(), 1u) << i;
        ASSERT_EQ(std::get<0>(drawn[0]), 0);
        ys.push_back(std::get<2>(drawn[0]));
    }
    EXPECT_EQ(ys[0], -770);
    EXPECT_EQ(ys[1], -760);
    EXPECT_EQ(ys[34], -430);
    EXPECT_EQ(ys[35], -420);
    EXPECT_EQ(ys.back(), -420);
    EXPECT_EQ(display->gameOverY, -420);
    // The last frame of the game over returns to the title, which takes the
    // press in that very frame.
    display->difficulty = 2;
    world->boss.hitPoints = 0;
    frame(5);
    EXPECT_EQ(display->gameOver, 0);
    EXPECT_EQ(display->gameOverY, -770);
    EXPECT_EQ(display->inGame, 1);
    EXPECT_EQ(display->difficulty, 1);  // normal after the reset
    EXPECT_EQ(world->boss.hitPoints, 50);
    EXPECT_EQ(display->screenDelay, 49);
    EXPECT_TRUE(drew(0) && drew(1) && drew(22));
    EXPECT_EQ(calls, (Calls{"sound 11", "stopAll", "playTrack 0"}));
}

TEST_F(ScreenFlowTest, ClearLettersThenTheStaffRollThenTheTitle) {
    startGame();
    frames(5);
    world->boss.hitPoints = 0;
    frame();
    EXPECT_EQ(display->stageClear, 1);
    EXPECT_EQ(display->clearTimer, 1199);
    Placement& ship = side->ship.placements[0];
    ship.x = 5.0;
    ship.y = 8.0;
    ship.z = -7.0;
    // The ship is parked once the countdown is below 900 (z kept).
    frames(300);
    EXPECT_EQ(ship.x, 5.0);
    frame();
    EXPECT_EQ(ship.x, 0.0);
    EXPECT_EQ(ship.y, 3.0);
    EXPECT_EQ(ship.z, -7.0);
    // The letters start falling below 450.
    frames(449);
    EXPECT_EQ(display->clearTimer, 449);
    EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 0);
    frame();
    EXPECT_GT(DeviceFixture::countOp("DrawSubset"), 0);
    EXPECT_LT(display->placements[0].y, 10.0);
    EXPECT_EQ(display->placements[1].y, 10.0);
    frames(448);
    EXPECT_EQ(display->clearTimer, 0);
    EXPECT_EQ(display->stageClear, 1);
    // The countdown's end hands over to the staff roll.
    frame();
    EXPECT_EQ(display->stageClear, 0);
    EXPECT_EQ(display->staffRoll, 1);
    EXPECT_EQ(display->screenDelay, 299);
    frame();
    EXPECT_EQ(calls, (Calls{"stopAll"}));
    EXPECT_EQ(drawn, (std::vector<Drawn>{{3, 0, 0}}));  // only the staff image: no play drawing
    EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 0);
    frames(298);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(display->screenDelay, 0);
    EXPECT_EQ(display->staffRoll, 1);
    // Its last frame: back to the title, normal chosen, letters back up.
    frame();
    EXPECT_EQ(display->staffRoll, 0);
    EXPECT_EQ(display->inGame, 0);
    EXPECT_EQ(display->titleScreen, 1);
    EXPECT_EQ(display->difficulty, 1);
    EXPECT_EQ(display->placements[0].y, 10.0);
    EXPECT_EQ(world->boss.hitPoints, 20);  // reset on easy, so the clear is not taken again
    EXPECT_EQ(calls, (Calls{"stopAll", "stopAll", "playTrack 0"}));
    frame(5);
    EXPECT_EQ(display->inGame, 1);
}

TEST_F(ScreenFlowTest, GameOverDuringTheClearRunsAlongsideItAndItsEndCutsTheClearShort) {
    startGame();
    frames(3);
    world->boss.hitPoints = 0;
    frame();
    frames(499);  // countdown at 700
    side->hpGauge.value = 0;
    frame();
    EXPECT_EQ(display->gameOver, 1);
    EXPECT_EQ(display->stageClear, 1);
    side->hpGauge.value = 3;
    frames(301);
    // Both sequences in one frame: letters and the game-over image.
    EXPECT_TRUE(drew(0));
    EXPECT_GT(DeviceFixture::countOp("DrawSubset"), 0);
    frames(298);
    EXPECT_EQ(display->clearTimer, 100);
    frame();
    EXPECT_EQ(display->titleScreen, 1);
    EXPECT_EQ(display->stageClear, 0);
    EXPECT_EQ(display->clearTimer, 0);
    // No staff roll follows.
    frames(200);
    EXPECT_EQ(display->staffRoll, 0);
    EXPECT_EQ(display->inGame, 0);
}

TEST_F(ScreenFlowTest, ThePlayMusicFadesWhenBoss2FallsAndTheBossMusicWaitsOutTheFade) {
    startGame();
    frame();
    EXPECT_EQ(calls, (Calls{"stopAll", "playTrack 2"}));
    frames(20);
    world->boss.placements[0].active = 1;  // Boss is in the field already
    world->boss2.hitPoints = 0;
    frame();
    EXPECT_EQ(calls, (Calls{"fadeOut 2"}));
    EXPECT_EQ(display->bossMusicDelay, 299);
    const int waited = framesUntil([&] { return !calls.empty(); });
    EXPECT_EQ(waited, 300);
    EXPECT_EQ(calls, (Calls{"playTrack 3"}));
    EXPECT_EQ(display->gameMusicOn, 0);
    frames(10);
    EXPECT_TRUE(calls.empty());  // the fade is done once per game
    // With Boss out of the field again the play music comes back.
    world->boss.placements[0].active = 0;
    frame();
    EXPECT_EQ(calls, (Calls{"stopAll", "playTrack 2"}));
}

TEST_F(ScreenFlowTest, TheStorysBoundsAreStrictAndItsClockMayWrap) {
    display->titleScreen = 0;
    display->storyScreen = 1;
    // One frame at story time t, read back as the images drawn and the
    // number of sounds played.
    auto at = [&](std::uint32_t t) {
        display->storyStart = 4294960000u;  // the millisecond clock wraps 7.3 s in
        display->storyNow = display->storyStart + t;
        frame();
        std::vector<int> images;
        for (const auto& d : drawn) images.push_back(std::get<0>(d));
        std::size_t sounds = 0;
        for (const auto& c : calls) sounds += c.rfind("sound", 0) == 0;
        return std::pair(images, sounds);
    };
    using Seen = std::pair<std::vector<int>, std::size_t>;
    EXPECT_EQ(at(1000), Seen({4}, 0));
    EXPECT_EQ(at(1001), Seen({4, 9}, 0));
    EXPECT_EQ(at(1500).second, 0u);
    EXPECT_EQ(at(1501).second, 1u);
    EXPECT_EQ(at(1502).second, 0u);  // each cue once
    EXPECT_EQ(at(3000), Seen({4}, 0));
    EXPECT_EQ(at(3001), Seen({4, 5}, 1));
    EXPECT_EQ(display->storySlideA, 760);
    EXPECT_EQ(at(13000).first, (std::vector<int>{4, 5}));
    EXPECT_EQ(at(23001).first, (std::vector<int>{4, 7}));
    EXPECT_EQ(display->storySlideA, 984);
    EXPECT_EQ(display->storySlideToggle, 0);
    EXPECT_EQ(at(33501).first, (std::vector<int>{4, 8, 14}));
    EXPECT_EQ(display->storySlideB, 984);
    EXPECT_EQ(display->storySlideToggle, 1);
    EXPECT_EQ(at(47000).first, (std::vector<int>{4}));
    EXPECT_EQ(display->storyScreen, 1);
    at(47001);
    EXPECT_EQ(display->storyScreen, 0);
    EXPECT_EQ(display->storySlideA, 800);
    EXPECT_EQ(display->storySlideB, 800);
}
