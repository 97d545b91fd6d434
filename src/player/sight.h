// Sight: the lock-on reticle drawn ahead of the ship; its image changes while
// an enemy is in line with the ship.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Sight : public FieldObject {
public:
    Sight();
    ~Sight() override;

    // Quad buffer, then "t\sight1.png" and "t\sight2.png".
    bool load();
    void drawSlot(int index) override;

    std::uint8_t locked = 0;
    platform::IDirect3DTexture9* images[2] = {};
};
