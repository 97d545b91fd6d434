// Shared helpers of the enemy group tests: single-precision rounding for
// working out expected values, a guard that switches the game's rounding
// on, a clock with a chosen calendar time, and the ship as a Placement.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/real.h"
#include "support/single_precision.h"
#include "world/placement.h"

// One value rounded to single precision, as each step of the game's
// arithmetic is once the display device exists.
inline double single(double v) { return static_cast<float>(v); }

// A headless backend whose calendar clock reads `seconds` (it does not
// advance: no frame is presented).
inline void useCalendarTime(std::int64_t seconds) {
    platform::installBackend(std::make_unique<platform::HeadlessBackend>(platform::InputScript{}, 0, seconds));
}

inline Placement shipAt(double x, double y, double z = -7.0) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    p.halfX = 0.5, p.halfY = 0.5, p.halfZ = 0.5;
    p.active = 1;
    return p;
}

template <class Group>
void runFrames(Group& g, int frames, const Placement& ship = shipAt(0, -50)) {
    for (int k = 0; k < frames; ++k) g.update(0, 0, ship);
}
