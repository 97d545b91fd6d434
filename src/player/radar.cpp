#include "player/radar.h"

// Not built yet.

Radar::~Radar() = default;
bool Radar::load() { return true; }
void Radar::drawPanel(int, float, float) { drawnCount = 0; }
void Radar::placeBlip(Real, Real, Real, Real) {}
void Radar::drawBlip(int) {}
void Radar::blipsFor(int, const Placement*, Real, Real) {}
