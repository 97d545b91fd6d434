#include "enemies/enemy_group.h"

using namespace platform;

EnemyGroup::EnemyGroup(int units, std::initializer_list<std::int32_t> cues, const char* meshPath,
                       const char* failureText)
    : FieldObject(units), meshPath_(meshPath), failureText_(failureText) {
    int w = 0;
    for (std::int32_t cue : cues) waveCue[w++] = cue;
}

bool EnemyGroup::load() { return graphics.loadMesh(meshPath_, failureText_); }

void EnemyGroup::drawSlot(int i) {
    const Placement& p = placements[i];
    graphics.setWorldAt(p.x.toFloat(), p.y.toFloat(), p.z.toFloat());
    graphics.drawMesh();
}

void EnemyGroup::placeUnit(int i, Real x, Real y, Real z, int w, Real halfX, Real halfY, Real halfZ) {
    setPosition(i, x, y, z, 0, waveCue[w]);
    setHalfExtents(i, halfX, halfY, halfZ);
    placements[i].link = 0;
    placements[i].extra = 0;
}

void EnemyGroup::tail(int i) {
    Placement& p = placements[i];
    if (p.z < -30.0) p.active = 0;
    p.z = p.z - speed;
}
