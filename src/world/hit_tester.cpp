#include "world/hit_tester.h"

bool HitTester::boxesOverlap(Placement a, Placement b) const {
    if (!axisOverlaps(a.z, a.halfZ, b.z, b.halfZ)) return false;
    if (!axisOverlaps(a.y, a.halfY, b.y, b.halfY)) return false;
    return axisOverlaps(a.x, a.halfX, b.x, b.halfX);
}
