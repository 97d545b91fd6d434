// Placement: one slot of a field object (position, hit-box half extents and
// the per-class integers), copied by value between objects.
#pragma once

#include <cstdint>

#include "platform/real.h"

struct Placement {
    Real x, y, z;
    Real halfX, halfY, halfZ;
    std::uint8_t active = 0;
    std::int32_t cue = 0;
    std::int32_t link = 0;   // 99 = none
    std::int32_t extra = 0;
    std::int32_t screenX = 0;
    std::int32_t screenY = 0;
};

constexpr std::int32_t NoLink = 99;
