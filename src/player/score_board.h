// ScoreBoard: the score and the hit counter (enemies destroyed since the
// player was last hit, up to 50) drawn in the top right of the screen.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class ScoreBoard : public FieldObject {
public:
    ScoreBoard() : FieldObject(0) {}

    std::int32_t total = 0;
    std::int32_t hits = 0;
};
