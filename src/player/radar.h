// Radar: the panel in the lower right that shows every enemy in play as a
// blip, placed by its x and y relative to the ship and imaged by its depth.
#pragma once

#include "world/field_object.h"

class Radar : public FieldObject {
public:
    Radar() : FieldObject(0) {}

    // The HUD is not drawn yet: the World's calls pass through.
    bool load() { return true; }
    void drawPanel(int /*index*/, float /*scaleX*/, float /*scaleY*/) {}
    // A blip for each active slot among the first `count`, around the player's x and y.
    void blipsFor(int /*count*/, const Placement* /*slots*/, Real /*playerX*/, Real /*playerY*/) {}
};
