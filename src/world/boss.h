// Boss and Boss2: the two bosses that close the stage. Boss2 enters first;
// Boss's hit points reaching 0 ends the stage.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Boss : public FieldObject {
public:
    Boss() : FieldObject(1) { reset(0); }

    // w: 0 on easy, 1 otherwise. Back at the far end, out of play.
    void reset(int w) override;
    bool load() { return graphics.loadMesh("x\\boss.x", "Bossロスト"); }
    void drawSlot(int i) override;

    // Constructed as a reset on easy leaves it: the World is not reset
    // before the first title, whose clear trigger reads these hit points.
    std::int32_t hitPoints = 20;
    std::int32_t entranceTimer = 0;  // 940 on entering, counts down; no input is read while above 0
};

class Boss2 : public FieldObject {
public:
    Boss2() : FieldObject(1) { reset(0); }

    void reset(int w) override;
    bool load() { return graphics.loadMesh("x\\boss2.x", "Boss2ロスト"); }
    void drawSlot(int i) override;

    std::int32_t hitPoints = 20;  // as its reset leaves it
};
