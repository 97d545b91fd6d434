// PlayerShip and PlayerShots: the ship the player flies inside its band at
// z = -7, and its three shots.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class World;

class PlayerShip : public FieldObject {
public:
    PlayerShip();
    ~PlayerShip() override;

    // Quad buffer, then "x\mychar.x", then the exhaust texture "t\bakuha.png".
    bool load();
    // Back at (0, 2, -7), active, level.
    void reset(int difficulty) override;
    // Moves and rolls the ship for one frame (and advances the stage clock).
    bool steer(std::int32_t direction, std::int32_t action, World& world);
    // What the drawing needs of the player side, refreshed once a frame.
    void setStatus(std::int32_t invulnerable, std::int32_t hitPoints);
    // The ship (glowing while invulnerable) and its flickering exhaust.
    void drawSlot(int index) override;

    Real roll = 0.0;
    Real speedX = 0.2;
    Real speedY = 0.1;
    platform::D3DXMATRIX exhaustMatrix;
    std::int32_t drawInvulnerable = 0;
    std::int32_t drawHitPoints = 0;
};

// The exhaust flicker, kept for the whole run (never reset).
Real flameScale();
std::int32_t flameCounter();

class PlayerShots : public FieldObject {
public:
    PlayerShots();
    ~PlayerShots() override;

    bool load();  // "x\beam3.x"
    void reset(int difficulty) override;
    // Moves the shots and lets a new one leave from the ship.
    void update(int action, int reserved, Placement ship) override;
    void drawSlot(int index) override;

    std::int32_t shotCooldown = 0;
};
