// Autopilot: the computer plays. Once per frame, before the game reads its
// input, it looks at the game (GameView), decides the keys (Pilot) and holds
// them through the platform layer's keyboard, so the game reads them as it
// reads a person's keys.
#pragma once

#include <cstdint>

namespace autopilot {

// Turns the autopilot on for the run, playing games on `difficulty`
// (0 easy, 1 normal, 2 hard).
void enable(int difficulty);
bool enabled();

// The main loop's call, before the frame's input read; nothing when off.
void beforeInput();

}  // namespace autopilot
