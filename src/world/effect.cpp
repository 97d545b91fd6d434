#include "world/effect.h"

using namespace platform;

namespace {

constexpr float Half = 5.5f;  // half the billboard's side

}  // namespace

Effect::Effect(const char* texturePath) : FieldObject(poolSize, 1), texturePath_(texturePath) {}

Effect::~Effect() { graphics.releaseQuad(); }

bool Effect::load() {
    D3DXMatrixIdentity(&graphics.worldMatrix);
    if (!graphics.loadTexture(texturePath_, 0xFF000000, "背景ロスト", &graphics.quadTexture)) return false;
    const double edges[4] = {0.25, 0.5, 0.75, 1.0};
    for (int k = 0; k < 4; ++k) {
        uTable[k] = edges[k];
        vTable[k] = edges[k];
    }
    if (!graphics.createQuadBuffer()) return true;  // reported; the quad is skipped from now on
    // The first cell; drawSlot rewrites the coordinates before every draw.
    writeSquare(graphics.quadBuffer, Half, 0.0f, 0.0f, 0.25f, 0.25f);
    return true;
}

void Effect::drawSlot(int i) {
    IDirect3DDevice9* device = graphics.device;
    Placement& p = placements[i];
    device->SetRenderState(D3DRS_ZENABLE, FALSE);

    // Cell (column, row) is the sheet square whose right and bottom edges
    // are u and v.
    const Real u = uTable[column[i]];
    const Real v = vTable[row[i]];
    const float left = (u - 0.25).toFloat(), top = (v - 0.25).toFloat();
    const float right = u.toFloat(), bottom = v.toFloat();
    writeSquare(graphics.quadBuffer, Half, left, top, right, bottom);

    // Drawn 20 units deeper than the slot itself.
    setTranslationRow(graphics.worldMatrix, p.x.toFloat(), p.y.toFloat(), (p.z + 20.0).toFloat());
    device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
    graphics.drawQuad();
    device->SetRenderState(D3DRS_ZENABLE, TRUE);

    // Four frames a cell; the delay is left at 4 when the run ends, so a
    // slot's later runs hold their first cell for five frames.
    if (frameDelay[i] == 0) {
        frameDelay[i] = 4;
        column[i] += 1;
    }
    if (column[i] == 4) {
        column[i] = 0;
        row[i] += 1;
    }
    if (row[i] == 4) {
        row[i] = 0;
        column[i] = 0;
        p.active = 0;
    } else {
        frameDelay[i] -= 1;
        p.active = 1;
    }
}

void Effect::spawnAt(Placement where) {
    for (int i = 0; i < poolSize; ++i) {
        Placement& p = placements[i];
        if (p.active != 0) continue;
        p.x = where.x;
        p.y = where.y;
        p.z = where.z;
        p.active = 1;
        return;
    }
}

void Effect::reset(int /*difficulty*/) {
    for (int i = 0; i < poolSize; ++i) {
        column[i] = 0;
        row[i] = 0;
        frameDelay[i] = 0;
        Placement& p = placements[i];
        p.x = 0.0;
        p.y = 3.0;
        p.z = 30.0;
        p.active = 0;
    }
}
