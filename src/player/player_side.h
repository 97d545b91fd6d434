// PlayerSide: everything that belongs to the player (ship, shots, missile,
// sight, HP gauge, frame-rate readout), its hit tests and its damage.
#pragma once

#include <cstdint>

#include "player/frame_rate_readout.h"
#include "player/missile.h"
#include "player/player_ship.h"
#include "platform/gfx/d3dx9.h"
#include "platform/real.h"
#include "world/placement.h"

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
    void testEnemyShots(Placement* shots);                      // the World's 100
    void testBossShots(Placement* shots, std::uint8_t bossActive);  // one boss's 20
    void testEnemyBodies(World& world);

    // Display frame render while playing.
    void drawStatus();
    void runFrame();

    std::int32_t hitPoints() const { return hitPointsValue; }

    PlayerShots shots;
    PlayerShip ship;
    FrameRateReadout rateReadout;
    Missile missile;

    std::int32_t invulnerableFrames = 0;
    std::uint8_t hitFlag = 0;
    Real cameraX = 0.0;
    std::int32_t hitPointsValue = 3;
};
