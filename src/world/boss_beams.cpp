#include "world/boss_beams.h"

using namespace platform;

namespace {

const char* const FailureText = "tamaロスト";

D3DXMATERIAL* materialsOf(const GraphicsPart& look) {
    return look.materialsBuffer ? static_cast<D3DXMATERIAL*>(look.materialsBuffer->GetBufferPointer()) : nullptr;
}

}  // namespace

// The sound bank closes after the meshes are released, as its member goes.
BossBeams::~BossBeams() {
    graphics.releaseMesh();
    lateLook.releaseMesh();
}

bool BossBeams::load() {
    sounds.open(graphics.ownerWindow, {"w\\boss.wav"});
    if (!graphics.loadMesh("x\\bossbeam1.x", FailureText)) return false;
    lateLook.attach(graphics.device, graphics.ownerWindow, graphics.sprite);
    return lateLook.loadMesh("x\\bossbeam3.x", FailureText);
}

void BossBeams::reset(int w) {
    for (int i = 0; i < poolSize; ++i) {
        setPosition(i, i - 8, 1.0, -50.0, 0, 0);
        setHalfExtents(i, 2.0, 1.0, 2.0);
    }
    shotCount = 10;
    pattern = 0;
    cooldown = firstPeriod;
    period = firstPeriod;
    difficultyFlag = w;
    bossHitPoints = w == 0 ? 20 : 50;
    entranceTimer = 0;
    column = 0;
    materials = materialsOf(graphics);
}

void BossBeams::arm(int) {
    for (int i = 0; i < shotCount; ++i) {
        cooldown = firstPeriod;
        placements[i].z = -50.0;
    }
}

void BossBeams::fireFrom(Placement* shooter, int) {
    if (cooldown > 0) --cooldown;
    const bool due = cooldown == 0;
    const bool fires = entranceTimer == 0 && due && shooter->active;
    for (int i = 0; i < shotCount; ++i) {
        Placement& beam = placements[i];
        // Past the player: parked behind it, live while the boss is.
        if (beam.z < -20.0) setPosition(i, 0.0, 1.0, -50.0, shooter->active, 0);
        if (fires) {
            beam.x = shooter->x;
            beam.y = shooter->y;
            beam.z = shooter->z;
            beam.active = 1;
        } else if (due) {
            setPosition(i, 0.0, 1.0, -50.0, 0, 0);
        }
    }
    if (fires) sounds.play(0);
    if (due) {
        // The late volleys begin at a volley's time, not at the hit itself.
        if (bossHitPoints < lateBelow) {
            materials = materialsOf(lateLook);
            shotCount = difficultyFlag == 0 ? 4 : 12;
            pattern = 1;
            period = latePeriod;
        }
        cooldown = period;
    }
}

void BossBeams::moveShots(Placement, int, int) {
    for (int i = 0; i < shotCount; ++i) {
        Placement& beam = placements[i];
        if (!beam.active) continue;
        if (pattern == 0) {
            // The fan: the first five climb, the rest sink, each its own way.
            beam.z -= 0.8;
            if (i < 5) {
                beam.x += Real(i - 2) / 10;
                beam.y += 0.03;
            } else {
                beam.x += Real(i - 7) / 10;
                beam.y -= 0.02;
            }
        } else if (difficultyFlag == 0) {
            beam.z -= 1.5;
            beam.y += (Real(i + 1) - 1.9) / 20;
        } else {
            // Twelve beams over a grid of three drifts across by four up.
            beam.x -= Real(0.05) - Real(column) * 0.05;
            beam.z -= 1.5;
            beam.y += (Real(row + 1) - 1.9) / 20;
            if (++column == 3) {
                column = 0;
                if (++row == 4) row = 0;
            }
        }
    }
}

void BossBeams::drawShots(int, int) {
    const GraphicsPart& look = pattern == 1 ? lateLook : graphics;
    if (!look.mesh || !materials) return;  // a load failed: the window is gone
    for (int i = 0; i < shotCount; ++i) {
        const Placement& beam = placements[i];
        setTranslationRow(graphics.worldMatrix, beam.x.toFloat(), beam.y.toFloat(), beam.z.toFloat());
        graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
        graphics.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        for (DWORD m = 0; m < look.materialCount; ++m) {
            graphics.currentMaterial = materials[m].MatD3D;
            graphics.device->SetMaterial(&graphics.currentMaterial);
            look.mesh->DrawSubset(m);
        }
        graphics.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
}
