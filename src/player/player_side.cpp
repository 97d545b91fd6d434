#include "player/player_side.h"

#include "world/world.h"

// The player's side is not built yet: these are its operations with their
// final signatures. Steering so far only keeps the stage clock running and
// hands the ship to the World's relay; the ship itself does not move.

bool PlayerShip::steer(std::int32_t, std::int32_t, World& world) {
    // The clock stands still while Boss2 is in play.
    if (!world.boss2.placements[0].active) world.clock.advance();
    world.relay.storePlayer(placements[0]);
    return false;
}

void PlayerSide::attach(platform::IDirect3DDevice9*, platform::HWND, platform::ID3DXSprite*) {}
void PlayerSide::load() {}
void PlayerSide::reset() {}
void PlayerSide::handleAction(std::int32_t, std::int32_t, std::uint8_t, std::int32_t, std::uint8_t,
                              std::uint8_t) {}
void PlayerSide::testEnemyShots(Placement*) {}
void PlayerSide::testBossShots(Placement*, std::uint8_t) {}
void PlayerSide::testEnemyBodies(World&) {}
void PlayerSide::drawStatus() {}
void PlayerSide::runFrame() {}
