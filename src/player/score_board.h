// ScoreBoard: the score and the hit counter (enemies destroyed since the
// player was last hit, up to 50) drawn in the top right of the screen.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class ScoreBoard : public FieldObject {
public:
    ScoreBoard() : FieldObject(0) {}

    // One destroyed enemy: worth 10000 times the hit counter, which first
    // rises by one up to 50.
    void addKill() {
        if (hits < 50) hits += 1;
        total += hits * 10000;
    }
    void reset() {
        total = 0;
        hits = 0;
    }
    // Not drawn yet: the World's calls pass through.
    bool load() { return true; }
    void draw() {}

    std::int32_t total = 0;
    std::int32_t hits = 0;
};
