#include "player/frame_rate_readout.h"

// Not built yet: nothing is drawn.

FrameRateReadout::FrameRateReadout() : FieldObject(1) { setPosition(0, -5.0, 8.0, 0.0, 1, 100); }
bool FrameRateReadout::load() { return true; }
void FrameRateReadout::drawSlot(int) {}
