// The bosses' shot objects: BossBeams (fans of beams from Boss) and
// SpiralBeams (rings of beams from Boss2). The player is tested against
// their first 20 slots.
#pragma once

#include "world/field_object.h"

class BossBeams : public FieldObject {
public:
    BossBeams() : FieldObject(20) {}
};

class SpiralBeams : public FieldObject {
public:
    SpiralBeams() : FieldObject(24) {}
};
