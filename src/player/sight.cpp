#include "player/sight.h"

// Not built yet.

Sight::Sight() : FieldObject(1) { setPosition(0, 0.0, 5.0, 0.0, 1, 100); }
Sight::~Sight() = default;
bool Sight::load() { return true; }
void Sight::drawSlot(int) {}
