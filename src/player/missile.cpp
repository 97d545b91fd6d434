#include "player/missile.h"

// Not built yet.

namespace {
MissileHoming homing;
}  // namespace

const MissileHoming& missileHoming() { return homing; }

Missile::Missile() : FieldObject(1) { reset(0); }
bool Missile::load() { return true; }
void Missile::reset(int) {
    setPosition(0, 50.0, 1.0, 0.0, 0, 0);
    setHalfExtents(0, 1.0, 1.0, 1.0);
    launchDelay = 20;
    stock = 5;
    inFlight = 0;
    target = Placement{};
    target.x = 50.0;
    target.y = 50.0;
    target.z = 200.0;
    aim = Placement{};
    aim.x = 50.0;
    aim.y = 1.0;
    nearestGap = 500.0;
}
void Missile::update(int, int, Placement) {}
void Missile::drawSlot(int) {}
void Missile::offerTarget(const Placement&, Real) {}
void Missile::drawIcon(float, float) {}
