#include "world/field_object.h"

#include <algorithm>

void FieldObject::setPosition(int slot, Real x, Real y, Real z, std::uint8_t active, std::int32_t cue) {
    Placement& p = placements[slot];
    p.x = x;
    p.y = y;
    p.z = z;
    p.active = active;
    p.cue = cue;
}

void FieldObject::setHalfExtents(int slot, Real halfX, Real halfY, Real halfZ) {
    Placement& p = placements[slot];
    p.halfX = halfX;
    p.halfY = halfY;
    p.halfZ = halfZ;
}

int FieldObject::claimFreeSlot() {
    const int end = std::min<int>(99, static_cast<int>(placements.size()));
    for (int i = 0; i < end; ++i) {
        if (placements[i].active == 0) {
            setPosition(i, 0.0, 1.0, -50.0, 1, 0);
            return i;
        }
    }
    return 0;
}

bool inPlayBand(const Placement& p) { return p.x > -8.0 && p.x < 8.0 && p.y > 2.0 && p.y < 10.0; }
