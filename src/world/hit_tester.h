// HitTester: the inclusive axis-aligned box test of the field.
#pragma once

#include "world/placement.h"

class HitTester {
public:
    // Axes in the order z, y, x; boxes that only touch overlap.
    bool boxesOverlap(Placement a, Placement b) const;
    // One axis of that test: centres and half extents of the two boxes.
    static bool axisOverlaps(Real centreA, Real halfA, Real centreB, Real halfB) {
        return centreB - halfB <= centreA + halfA && centreB + halfB >= centreA - halfA;
    }
};
