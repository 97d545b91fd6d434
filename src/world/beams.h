// The bosses' shot objects: BossBeams (fans of beams from Boss) and
// SpiralBeams (rings of beams from Boss2). The player is tested against
// their first 20 slots.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class BossBeams : public FieldObject {
public:
    BossBeams() : FieldObject(20) {}

    // The beams themselves are not built yet: they never fire.
    bool load() { return true; }
    void setBossHitPoints(std::int32_t hp) { bossHitPoints = hp; }
    void setEntranceTimer(std::int32_t t) { entranceTimer = t; }

    std::int32_t bossHitPoints = 20;
    std::int32_t entranceTimer = 0;
};

class SpiralBeams : public FieldObject {
public:
    SpiralBeams() : FieldObject(24) {}

    bool load() { return true; }
};
