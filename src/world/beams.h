// The bosses' shot objects, as the World includes them: BossBeams (fans of
// beams from Boss) and SpiralBeams (rings of beams from Boss2).
#pragma once

#include "world/boss_beams.h"
#include "world/spiral_beams.h"
