// Missile: the homing missile and its stock of five per game.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Missile : public FieldObject {
public:
    Missile() : FieldObject(1) {}

    std::int32_t stock = 5;
    std::uint8_t inFlight = 0;
};
