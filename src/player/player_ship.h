// PlayerShip and PlayerShots: the ship the player flies inside its band at
// z = -7, and its three shots.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class World;

class PlayerShip : public FieldObject {
public:
    PlayerShip() : FieldObject(1) {}

    // Moves and rolls the ship for one frame (and advances the stage clock).
    bool steer(std::int32_t direction, std::int32_t action, World& world);
};

class PlayerShots : public FieldObject {
public:
    PlayerShots() : FieldObject(3) {}
};
