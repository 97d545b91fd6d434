// Gauge: a value, a frame counter and up to six 2D images. The player side's
// instance holds the hit points and draws the HP gauge; the World's
// instance (its stage clock) uses only the counter.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Gauge : public FieldObject {
public:
    static constexpr int frameCount = 6;

    Gauge() : FieldObject(0) {}
    ~Gauge() override;

    // value -= n; true while the new value is not 0.
    bool lose(std::int32_t n) {
        value -= n;
        return value != 0;
    }
    void advance() { tick += 1; }
    bool tickIs(std::int32_t n) const { return tick == n; }
    // The start of a game: counter 0, three hit points.
    void reset() {
        tick = 0;
        value = 3;
    }

    // Image `index` with the sprite, top-left at (60, 440), at 80 % size.
    void drawFrame(int index);
    // The six HP images (white is transparent); the first missing one is
    // reported and ends the step.
    bool load();

    std::int32_t tick = 0;
    std::int32_t value = 3;
    platform::IDirect3DTexture9* frames[frameCount] = {};
};
