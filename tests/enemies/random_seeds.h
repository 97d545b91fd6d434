// Seeds for the C library's generator that make its next draw a chosen
// value, worked out from the generator's recurrence
// (state = state * 214013 + 2531011, draw = bits 16 to 30 of the state).
#pragma once

#include <cstdint>

namespace enemies_test {

// The seed whose first draw is `value` (0 to 32767).
inline std::uint32_t seedDrawing(int value) {
    const std::uint32_t a = 214013u;
    std::uint32_t inverse = a;  // Newton's iteration for the inverse of a modulo 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - a * inverse;
    const std::uint32_t state = static_cast<std::uint32_t>(value) << 16;
    return (state - 2531011u) * inverse;
}

// Single-precision steps, as the game computes once the device exists.
inline double f32(double v) { return static_cast<float>(v); }

}  // namespace enemies_test
