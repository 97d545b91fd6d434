#include "world/world.h"

// The field of play is not built yet: these are the World's operations with
// their final signatures, doing nothing.

void World::attachAll(platform::IDirect3DDevice9*, platform::HWND, platform::ID3DXSprite*) {}
void World::loadAll() {}
// Until the field is built, a reset gives the bosses their hit points (20 on
// easy, 50 otherwise for Boss; 20 for Boss2), so a game never ends by itself.
void World::reset(int difficulty) {
    boss.hitPoints = difficulty == 0 ? 20 : 50;
    boss.entranceTimer = 0;
    boss2.hitPoints = 20;
}
void World::setDifficulty(int) {}
void World::setInput(std::int32_t) {}
void World::checkShots(Placement*, std::uint8_t) {}
void World::checkMissile(Placement*, std::uint8_t*) {}
void World::setPlayer(Placement) {}
void World::drawHud() {}
void World::frame() {}
