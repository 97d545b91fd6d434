// The C library's pseudo-random generator, as the game's enemies use it: a
// 32-bit linear congruential state (1 at start), seeded with srand and drawn
// with rand (0 to 32767). One generator for the whole process, never reset.
#pragma once

#include <cstdint>

namespace platform {

void srand(std::uint32_t seed);
int rand();
// The generator's state, for the trace.
std::uint32_t randomState();

}  // namespace platform
