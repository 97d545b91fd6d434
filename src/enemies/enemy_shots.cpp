#include "enemies/enemy_shots.h"

using namespace platform;

namespace {
const char* const FailureText = "tamaロスト";
}  // namespace

EnemyShots::EnemyShots() : FieldObject(SlotCount) { resetSlots(); }

EnemyShots::~EnemyShots() {
    graphics.releaseMesh();
    secondLook.releaseMesh();
}

bool EnemyShots::load() {
    if (!graphics.loadMesh("x\\beam4.x", FailureText)) return false;
    secondLook.attach(graphics.device, graphics.ownerWindow, graphics.sprite);
    return secondLook.loadMesh("x\\tama2.x", FailureText);
}

void EnemyShots::resetSlots() {
    for (int i = 0; i < SlotCount; ++i) {
        setPosition(i, 6.0, 1.0, -50.0, 0, 0);
        setHalfExtents(i, 2.0, 1.0, 2.0);
        cooldown_[i] = FullCooldown;
    }
}

void EnemyShots::reset() {
    graphics.materialArray =
        graphics.materialsBuffer ? static_cast<D3DXMATERIAL*>(graphics.materialsBuffer->GetBufferPointer()) : nullptr;
    resetSlots();
}

void EnemyShots::arm(int link) {
    cooldown_[link] = FullCooldown;
    placements[link].z = -50.0;
}

void EnemyShots::fireFrom(Placement* shooter, int link) {
    Placement& shot = placements[link];
    // Fire: the cooldown has run out and the shot waits behind the player.
    if (cooldown_[link] == 0 && shooter->active && shot.active && shot.z < -30.0) {
        shot.x = shooter->x;
        shot.y = shooter->y;
        shot.z = shooter->z;
        cooldown_[link] = FullCooldown;
    }
    // Park a shot that has flown past; a dead shooter gives its slot up.
    if (shot.active && shot.z < -30.0) {
        setPosition(link, 10.0, 1.0, -50.0, 1, 0);
        if (!shooter->active) {
            shot.active = 0;
            shooter->link = NoLink;
        }
    }
    if (cooldown_[link] > 0 && shot.active) --cooldown_[link];
}

void EnemyShots::moveShots(Placement /*shooter*/, int link, int mode) {
    if ((mode == 1 || mode == 2) && placements[link].active) placements[link].z = placements[link].z - 1.0;
}

void EnemyShots::drawShots(int link, int extra) {
    const Placement& shot = placements[link];
    if (!shot.active) return;
    const GraphicsPart& look = extra == 1 ? secondLook : graphics;
    // Nothing to draw with when a load failed (the window is gone by then).
    if (!look.mesh || !graphics.materialArray) return;
    setTranslationRow(graphics.worldMatrix, shot.x.toFloat(), shot.y.toFloat(), shot.z.toFloat());
    graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
    // Mesh 0's materials serve either mesh; never read past their end.
    for (DWORD i = 0; i < look.materialCount && i < graphics.materialCount; ++i) {
        graphics.currentMaterial = graphics.materialArray[i].MatD3D;
        graphics.device->SetMaterial(&graphics.currentMaterial);
        look.mesh->DrawSubset(i);
    }
}
