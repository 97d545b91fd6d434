#include "player/player_ship.h"

#include "world/world.h"

// Not built yet: steering only keeps the stage clock running and hands the
// ship to the World's relay.

namespace {
Real flameScale_ = 1.0;
std::int32_t flameCounter_ = 0;
}  // namespace

Real flameScale() { return flameScale_; }
std::int32_t flameCounter() { return flameCounter_; }

PlayerShip::PlayerShip() : FieldObject(1) { reset(0); }
PlayerShip::~PlayerShip() = default;
bool PlayerShip::load() { return true; }
void PlayerShip::reset(int) {
    setPosition(0, 0.0, 2.0, -7.0, 1, 0);
    setHalfExtents(0, 0.5, 0.5, 0.5);
    roll = 0.0;
}
bool PlayerShip::steer(std::int32_t, std::int32_t, World& world) {
    if (!world.boss2.placements[0].active) world.clock.advance();
    world.relay.storePlayer(placements[0]);
    return false;
}
void PlayerShip::setStatus(std::int32_t invulnerable, std::int32_t hitPoints) {
    drawInvulnerable = invulnerable;
    drawHitPoints = hitPoints;
}
void PlayerShip::drawSlot(int) {}

PlayerShots::PlayerShots() : FieldObject(3) { reset(0); }
bool PlayerShots::load() { return true; }
void PlayerShots::reset(int) {
    for (int i = 0; i < 3; ++i) {
        setPosition(i, 50.0, 1.0, 0.0, 0, 0);
        setHalfExtents(i, 1.0, 1.0, 1.0);
    }
    shotCooldown = 0;
}
void PlayerShots::update(int, int, Placement) {}
void PlayerShots::drawSlot(int) {}
