// HitTester: the inclusive axis-aligned box test of the field.
#pragma once

#include "world/placement.h"

class HitTester {
public:
    // Axes in the order z, y, x; boxes that only touch overlap.
    bool boxesOverlap(Placement a, Placement b) const;
};
