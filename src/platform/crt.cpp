#include "platform/crt.h"

namespace platform {

namespace {
// Process-wide: never reset by any game object.
std::uint32_t g_state = 1;
}  // namespace

void srand(std::uint32_t seed) { g_state = seed; }

int rand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

std::uint32_t randomState() { return g_state; }

}  // namespace platform
