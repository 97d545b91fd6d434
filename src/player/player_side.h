// PlayerSide: everything that belongs to the player (ship, shots, missile,
// sight, HP gauge, frame-rate readout), its hit tests and its damage.
#pragma once

#include <cstdint>

#include "audio/sound_bank.h"
#include "player/frame_rate_readout.h"
#include "player/gauge.h"
#include "player/missile.h"
#include "player/player_ship.h"
#include "player/sight.h"
#include "platform/gfx/d3dx9.h"
#include "platform/real.h"
#include "world/effect.h"
#include "world/hit_tester.h"
#include "world/placement.h"
#include "world/update_relay.h"

class World;

class PlayerSide {
public:
    PlayerSide() = default;

    // Start-up (once), then every game start.
    void attach(platform::IDirect3DDevice9* device, platform::HWND window, platform::ID3DXSprite* sprite);
    void load();
    void reset();

    // Main loop, every playing frame, in this order.
    void handleAction(std::int32_t action, std::int32_t bossEntranceTimer,
                      std::uint8_t missileActive, std::int32_t missileStock,
                      std::uint8_t gameOver, std::uint8_t stageClear);
    void testEnemyShots(Placement* shots);                          // the World's 100
    void testBossShots(Placement* shots, std::uint8_t bossActive);  // one boss's 20
    void testEnemyBodies(World& world);

    // Display frame render while playing.
    void drawStatus();
    void runFrame();

    std::int32_t hitPoints() const { return hpGauge.value; }

    // Members, in construction order.
    UpdateRelay relay;
    PlayerShots shots;
    PlayerShip ship;
    FrameRateReadout rateReadout;
    HitTester hitTester;
    Effect playerBlast{"t\\effect.png"};
    Gauge hpGauge;
    Sight sight;
    Missile missile;
    SoundBank sounds{"PlayerSide"};

    std::int32_t invulnerableFrames = 0;
    std::uint8_t hitFlag = 0;
    Placement shotCopies[100];
    Real cameraX = 0.0;
    std::int32_t blinkCounter = 0;
    std::int32_t gaugeFrame = 0;

private:
    bool shotHitsShip(int i);
    void testGroup(int count, Placement* slots);
    void applyHit();
};

// The sound pacing of handleAction, kept for the whole run (never reset).
std::int32_t shotSoundDelay();
std::int32_t missileSoundDelay();
