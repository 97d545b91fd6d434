// SinglePrecision: a scope in which the game's arithmetic rounds to single
// precision, as it does once the display device exists.
#pragma once

#include "platform/real.h"

struct SinglePrecision {
    SinglePrecision() { fpu::setSinglePrecision(true); }
    ~SinglePrecision() { fpu::setSinglePrecision(false); }
};
