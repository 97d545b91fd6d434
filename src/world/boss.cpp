#include "world/boss.h"

using namespace platform;

namespace {
void drawAt(GraphicsPart& g, const Placement& p) {
    g.setWorldAt(p.x.toFloat(), p.y.toFloat(), p.z.toFloat());
    g.drawMesh();
}
}  // namespace

void Boss::reset(int w) {
    setPosition(0, 0.0, 5.0, 50.0, 0, 5000);
    setHalfExtents(0, 3.0, 3.0, 5.0);
    placements[0].extra = 0;
    appeared = 0;
    hitPoints = w == 0 ? 20 : 50;
    entranceTimer = 0;
}

void Boss::drawSlot(int i) { drawAt(graphics, placements[i]); }

void Boss2::reset(int) {
    setPosition(0, 0.0, 7.0, 50.0, 0, 4500);
    setHalfExtents(0, 3.0, 3.0, 5.0);
    placements[0].extra = 0;
    appeared = 0;
    hitPoints = 20;
}

void Boss2::drawSlot(int i) { drawAt(graphics, placements[i]); }
