// FrameRateReadout: receives the number of loop passes of each second from
// the frame timer.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class FrameRateReadout : public FieldObject {
public:
    FrameRateReadout() : FieldObject(1) {}

    void setRate(std::int32_t n) { rate = n; }

    std::int32_t rate = 0;
};
