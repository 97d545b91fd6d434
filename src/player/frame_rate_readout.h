// FrameRateReadout: receives the number of loop passes of each second from
// the frame timer and can draw it with glyph quads in the field.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class FrameRateReadout : public FieldObject {
public:
    FrameRateReadout();
    ~FrameRateReadout() override;

    // Quad buffer, then the glyph sheet "t\text.png".
    bool load();
    void setRate(std::int32_t n) { rate = n; }
    // Up to three digits of `rate`, one world unit apart.
    void drawSlot(int index) override;

    std::int32_t rate = 0;
};
