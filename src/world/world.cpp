#include "world/world.h"

// The field of play is not built yet: these are the World's operations with
// their final signatures, doing nothing.

void World::attachAll(platform::IDirect3DDevice9*, platform::HWND, platform::ID3DXSprite*) {}
void World::loadAll() {}
void World::reset(int) {}
void World::setDifficulty(int) {}
void World::setInput(std::int32_t) {}
void World::checkShots(Placement*, std::uint8_t) {}
void World::checkMissile(Placement*, std::uint8_t*) {}
void World::setPlayer(Placement) {}
void World::drawHud() {}
void World::frame() {}
