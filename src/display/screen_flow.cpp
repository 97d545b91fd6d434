// The screen flow: the game's state machine (title, story, start hold, play,
// game over, clear, staff roll), run inside each frame's scene. Everything
// counts frames except the story, which runs on the millisecond clock.
#include "display/display.h"

#include "audio/music_player.h"
#include "player/player_side.h"
#include "world/world.h"

using namespace platform;

namespace {

// Screen sounds, by entry of the Display's bank.
constexpr int cameraSound = 3;
constexpr int okSound = 11;
constexpr int overSound = 12;

// Music tracks.
constexpr int titleTrack = 0;
constexpr int storyTrack = 1;
constexpr int gameTrack = 2;
constexpr int bossTrack = 3;

void beginSprite(ID3DXSprite* sprite) {
    if (sprite) sprite->Begin(0);
}
void endSprite(ID3DXSprite* sprite) {
    if (sprite) sprite->End();
}

// A story picture slides 40 pixels a frame to the left and rests at -60.
void slide(std::int32_t& x) {
    x -= 40;
    if (x < -60) x = -60;
}

// The title's menu for each difficulty: the easy, normal and hard entries
// (the chosen one highlighted) and the chosen entry's description.
struct MenuImage {
    int index, x, y;
};
constexpr MenuImage menus[3][4] = {
    {{17, 500, 370}, {21, 496, 420}, {16, 500, 470}, {19, 300, 520}},  // easy
    {{15, 500, 370}, {22, 500, 420}, {16, 500, 470}, {23, 300, 520}},  // normal
    {{15, 500, 370}, {21, 496, 420}, {18, 500, 470}, {20, 440, 520}},  // hard
};

}  // namespace

void Display::screenFlow(World& world, PlayerSide& playerSide, MusicPlayer& music, std::int32_t action,
                         std::int32_t direction) {
    // 1. Play.
    if (inGame == 1 && screenDelay == 0) {
        titleScreen = 0;
        titleMusicStarted = 0;
        // The play music runs until Boss2 (the boss that enters first) falls,
        // then fades; the boss music starts once Boss is there and the fade
        // has had its 300 frames.
        if (world.boss.placements[0].active == 0 && gameMusicOn == 0) {
            music.stopAll();
            music.playTrack(gameTrack);
            gameMusicOn = 1;
        }
        if (world.boss2.hitPoints == 0 && gameMusicOn == 1 && bossFadeDone == 0) {
            music.fadeOut(gameTrack);
            bossMusicDelay = 300;
            bossFadeDone = 1;
        }
        if (world.boss.placements[0].active == 1 && gameMusicOn == 1 && bossFadeDone == 1 &&
            bossMusicDelay == 0) {
            music.playTrack(bossTrack);
            gameMusicOn = 0;
        }
        beginSprite(sprite_);
        playerSide.drawStatus();
        world.drawHud();
        endSprite(sprite_);
        world.frame();
        if (world.boss.entranceTimer == 0) playerSide.runFrame();
        const Placement& ship = playerSide.ship.placements[0];
        playerSide.cameraX =
            updateCamera(ship.x, ship.y, ship.z, playerSide.invulnerableFrames, world.boss.entranceTimer);
    }

    // 2, 3. The ends of a game: back to the title.
    auto backToTitle = [&] {
        playerSide.reset();
        world.reset(0);
        resetCamera();
        screenReset();
    };
    if (gameOverScreen()) backToTitle();
    if (staffRollScreen(music)) backToTitle();
    // 4.
    clearSequence();
    // 5. A start from the title.
    if (titleStep(music, action, direction)) {
        // The last game's fade would otherwise keep the play music silent
        // in every game after the first.
        music.restoreVolumes();
        sounds.play(okSound);
        resetCamera();
        playerSide.reset();
        world.reset(difficulty);
        world.setDifficulty(difficulty);
        stageClear = 0;
        clearTimer = 0;
        resetDirector();
        screenDelay = 50;
        idleFrames = 0;
        gameMusicOn = 0;
    }
    // 6.
    if (storyStep(music, action)) idleFrames = 0;

    // 7. Game over, from any state.
    if (gameOver == 0 && playerSide.hitPoints() == 0 && screenDelay == 0) {
        music.stopAll();
        gameOver = 1;
        gameOverTimer = 600;
        sounds.play(overSound);
    }
    // 8. Stage clear, from any state.
    if (world.boss.hitPoints == 0 && staffRoll == 0 && stageClear == 0 && screenDelay == 0) {
        stageClear = 1;
        clearTimer = 1200;
    }
    // 9.
    if (bossMusicDelay > 0) --bossMusicDelay;
    // 10.
    if (idleFrames > 5000) idleFrames = 0;
    // 11. A title left alone starts the story.
    if (idleFrames > 500 && titleScreen == 1) {
        music.stopAll();
        storyScreen = 1;
        titleScreen = 0;
        idleFrames = 0;
        storyStart = timeGetTime();
    }
    // 12. The ship waits out the clear sequence at a fixed spot.
    if (stageClear == 1 && clearTimer < 900) {
        playerSide.ship.placements[0].x = 0.0;
        playerSide.ship.placements[0].y = 3.0;
    }
    // 13.
    ++idleFrames;
    if (screenDelay > 0) --screenDelay;
    if (gameOverTimer > 0) --gameOverTimer;
    if (clearTimer > 0) --clearTimer;
    storyNow = timeGetTime();
}

bool Display::gameOverScreen() {
    if (!(gameOver == 1 && gameOverTimer < 300)) return false;
    // The image shows for the last 300 frames, sliding down to rest at -420.
    beginSprite(sprite_);
    screenImages.drawGameOver(gameOverY);
    if (gameOverY < -420) gameOverY += 10;
    endSprite(sprite_);
    if (gameOverTimer != 0) return false;
    gameOver = 0;
    titleScreen = 1;
    idleFrames = 0;
    return true;
}

bool Display::staffRollScreen(MusicPlayer& music) {
    if (!(staffRoll == 1 && clearTimer == 0)) return false;
    if (staffMusicStopped == 0) {
        music.stopAll();
        staffMusicStopped = 1;
    }
    beginSprite(sprite_);
    screenImages.drawStaff();
    endSprite(sprite_);
    if (screenDelay != 0) return false;
    inGame = 0;
    staffRoll = 0;
    titleScreen = 1;
    idleFrames = 0;
    staffMusicStopped = 0;
    music.stopAll();
    return true;
}

void Display::clearSequence() {
    if (stageClear != 1) return;
    screenImages.drawClearLetters(clearTimer, placements);
    if (clearTimer == 0) {
        stageClear = 0;
        staffRoll = 1;
        screenDelay = 300;
    }
}

bool Display::titleStep(MusicPlayer& music, std::int32_t action, std::int32_t direction) {
    if (titleScreen != 1) return false;
    if (titleMusicStarted == 0) {
        music.stopAll();
        music.playTrack(titleTrack);
        titleMusicStarted = 1;
    }
    beginSprite(sprite_);
    screenImages.drawImage(1, 0.0f, -14.0f);
    if (difficulty >= 0 && difficulty <= 2)
        for (const MenuImage& m : menus[difficulty])
            screenImages.drawImage(m.index, static_cast<float>(m.x), static_cast<float>(m.y));
    // The cursor; a move (or a push against either end) blocks the next for
    // 6 frames. Diagonals move nothing.
    if (inGame == 0 && menuRepeatDelay == 0) {
        if (direction == 1 && (difficulty == 0 || difficulty == 1)) {
            difficulty = 0;
            menuRepeatDelay = 6;
        } else if ((direction == 2 && difficulty == 0) || (direction == 1 && difficulty == 2)) {
            difficulty = 1;
            menuRepeatDelay = 6;
        } else if (direction == 2 && (difficulty == 1 || difficulty == 2)) {
            difficulty = 2;
            menuRepeatDelay = 6;
        }
    }
    endSprite(sprite_);
    if (action == 5 && screenDelay == 0) {
        gameOver = 0;
        inGame = 1;
        return true;
    }
    if (menuRepeatDelay > 0) --menuRepeatDelay;
    return false;
}

bool Display::storyStep(MusicPlayer& music, std::int32_t action) {
    if (storyScreen != 1) return false;
    // Milliseconds since the story began, as of the end of the last frame.
    const std::uint32_t t = storyNow - storyStart;
    // Each timed sound plays once: cue n is storyCues[n - 1].
    auto cue = [&](int n, std::uint32_t after) {
        if (t > after && storyCues[n - 1] == 0) {
            storyCues[n - 1] = 1;
            return true;
        }
        return false;
    };
    auto between = [&](std::uint32_t from, std::uint32_t to) { return from < t && t < to; };

    beginSprite(sprite_);
    screenImages.drawStoryBackground();
    if (between(1000, 3000)) screenImages.drawPicture(9, 350, 270);
    if (cue(1, 1500)) sounds.play(4);
    if (cue(7, 3000)) sounds.play(cameraSound);
    if (between(3000, 14000)) {
        slide(storySlideA);
        screenImages.drawPicture(5, storySlideA, 0);
    }
    if (cue(2, 3800)) {
        sounds.play(5);
        music.playTrack(storyTrack);
    }
    if (between(3800, 13000)) screenImages.drawPicture(10, 160, 450);
    if (cue(3, 13000)) sounds.play(6);
    if (between(13000, 14000)) screenImages.drawPicture(11, 160, 450);
    if (cue(8, 14000)) sounds.play(cameraSound);
    if (between(14000, 23000)) {
        slide(storySlideB);
        screenImages.drawPicture(6, storySlideB, 0);
    }
    if (cue(4, 15000)) sounds.play(7);
    if (between(15000, 23000)) screenImages.drawPicture(12, 160, 450);
    if (cue(9, 23000)) sounds.play(cameraSound);
    if (between(23000, 33500)) {
        if (storySlideToggle == 1) {
            storySlideA = 1024;
            storySlideToggle = 0;
        }
        slide(storySlideA);
        screenImages.drawPicture(7, storySlideA, 0);
    }
    if (cue(5, 24000)) sounds.play(8);
    if (between(24000, 32500)) screenImages.drawPicture(13, 160, 450);
    if (cue(10, 33500)) sounds.play(cameraSound);
    if (between(33500, 44000)) {
        if (storySlideToggle == 0) {
            storySlideB = 1024;
            storySlideToggle = 1;
        }
        slide(storySlideB);
        screenImages.drawPicture(8, storySlideB, 0);
    }
    if (cue(6, 33500)) sounds.play(9);
    if (between(33500, 40000)) screenImages.drawPicture(14, 160, 450);
    endSprite(sprite_);

    if (!(action == 5 || t > 47000)) return false;
    music.stopAll();
    storyScreen = 0;
    titleScreen = 1;
    titleMusicStarted = 0;
    screenDelay = 50;
    for (auto& c : storyCues) c = 0;
    storySlideA = storySlideB = 800;
    storySlideToggle = 1;
    difficulty = 1;
    menuRepeatDelay = 0;
    storyStart = 0;
    storyNow = 0;
    return true;
}

// Back to the title after a game; the story's slides and clock are left as
// they are.
void Display::screenReset() {
    gameOverY = -770;
    gameOver = inGame = stageClear = staffRoll = storyScreen = 0;
    titleScreen = 1;
    screenDelay = idleFrames = clearTimer = gameOverTimer = menuRepeatDelay = 0;
    titleMusicStarted = staffMusicStopped = 0;
    resetLetterPlacements(placements);
    for (auto& c : storyCues) c = 0;
    difficulty = 1;
}
