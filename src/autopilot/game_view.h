// GameView: what the autopilot sees of the game each frame (the screen that
// is up and the positions of everything in the field), copied out of the
// game's objects in one place (captureView) and never written back.
#pragma once

#include <cstdint>

namespace autopilot {

// One box in the field: centre, half extents, and whether it is in play.
struct ViewBox {
    double x = 0, y = 0, z = 0;
    double hx = 0, hy = 0, hz = 0;
    bool active = false;
};

enum class Screen : std::uint8_t { Title, Story, StartHold, Play, GameOver, Clear, StaffRoll };

struct GameView {
    static constexpr int enemyShotCount = 100;
    static constexpr int bossBeamCount = 20;
    static constexpr int ringBeamCount = 24;
    static constexpr int shotCount = enemyShotCount + bossBeamCount + ringBeamCount;
    static constexpr int enemyCount = 57;
    static constexpr int bodyCount = enemyCount + 2;  // the enemies, then Boss2, then Boss
    static constexpr int firstBossBeam = enemyShotCount;
    static constexpr int firstRingBeam = enemyShotCount + bossBeamCount;
    static constexpr int boss2Body = enemyCount;
    static constexpr int bossBody = enemyCount + 1;

    Screen screen = Screen::Title;
    int difficulty = 0;          // the entry highlighted on the title
    ViewBox ship;
    int invulnerableFrames = 0;  // the ship glows while above 0
    int hitPoints = 0;           // the HP gauge
    long score = 0;              // the score board
    int missileStock = 0;
    bool missileInFlight = false;
    bool bossEntering = false;   // Boss hangs before its fight (no input is read)
    ViewBox shots[shotCount];    // enemy shots, Boss's beams, Boss2's ring
    ViewBox bodies[bodyCount];
};

// Fills `view` from the game's objects.
void captureView(GameView& view);

}  // namespace autopilot
