#include "player/player_side.h"

// The player's side is not built yet: these are its operations with their
// final signatures, doing nothing.

bool PlayerShip::steer(std::int32_t, std::int32_t, World&) { return false; }

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
