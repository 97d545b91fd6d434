#include "player/player_side.h"

#include "world/world.h"

// Not built yet: the operations with their final signatures.

namespace {
std::int32_t shotSoundDelay_ = 20;
std::int32_t missileSoundDelay_ = 20;
}  // namespace

std::int32_t shotSoundDelay() { return shotSoundDelay_; }
std::int32_t missileSoundDelay() { return missileSoundDelay_; }

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
bool PlayerSide::shotHitsShip(int) { return false; }
void PlayerSide::testGroup(int, Placement*) {}
void PlayerSide::applyHit() {}
