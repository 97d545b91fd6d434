#include "player/missile.h"

using namespace platform;

namespace {

// One missile flies at a time, so its homing lives here for the whole run;
// each launch sets it afresh and nothing else resets it.
MissileHoming homing;

// Frames between recording the target's place and leading it.
const Real leadFrames = 40.0;
const Real creepSpeed = 0.2;
const Real homingSpeed = 1.5;

Real length(const Real (&d)[3]) { return sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]); }

}  // namespace

const MissileHoming& missileHoming() { return homing; }

Missile::Missile() : FieldObject(1) { reset(0); }

Missile::~Missile() {
    graphics.releaseMesh();
    graphics.releaseQuad();
}

bool Missile::load() {
    if (!graphics.loadMesh("x\\missile.x", "tamaロスト")) return false;
    // The stock icon lives in the quad texture slot; it is drawn with the sprite.
    return graphics.loadTexture("t\\missile.png", 0xFFFFFFFF, "残弾数ロスと", &graphics.quadTexture);
}

void Missile::reset(int) {
    setPosition(0, 50.0, 1.0, 0.0, 0, 0);
    setHalfExtents(0, 1.0, 1.0, 1.0);
    launchDelay = 20;
    stock = 5;
    inFlight = 0;
    target = Placement{};
    target.x = 50.0;
    target.y = 50.0;
    target.z = 200.0;
    aim = Placement{};
    aim.x = 50.0;
    aim.y = 1.0;
    nearestGap = 500.0;
}

void Missile::update(int action, int, Placement ship) {
    Placement& m = placements[0];
    if (m.z > 100.0) m.active = 0;
    aim = target;

    if (action == 10 && m.active == 0 && launchDelay == 0 && inFlight == 0 && stock != 0) {
        m.x = ship.x;
        m.y = ship.y;
        m.z = ship.z;
        m.active = 1;
        inFlight = 1;
        homing.guidePoint[0] = ship.x;
        homing.guidePoint[1] = ship.y;
        homing.guidePoint[2] = ship.z + 30.0;
        launchDelay = 20;
        stock -= 1;
        homing.missileSpeed = creepSpeed;
        homing.homingStep = 1.0;
    } else if (m.active != 0) {
        const Real aimAt[3] = {aim.x, aim.y, aim.z};
        Real* snap = homing.aimSnapshot;
        if (homing.homingStep == leadFrames + 1.0) {
            // Lead: the guide point goes 40 frames ahead along the target's
            // motion since the recording; no move this frame.
            for (int k = 0; k < 3; ++k) homing.guidePoint[k] = snap[k] + 40.0 * (aimAt[k] - snap[k]);
            homing.homingStep = 1.0;
            homing.missileSpeed = homingSpeed;
        } else if (homing.homingStep == leadFrames) {
            // Record where the target is; no move this frame.
            for (int k = 0; k < 3; ++k) snap[k] = aimAt[k];
            homing.homingStep += 1.0;
        } else {
            Real* pos[3] = {&m.x, &m.y, &m.z};
            Real d[3];
            for (int k = 0; k < 3; ++k) d[k] = homing.guidePoint[k] - *pos[k];
            Real dist = length(d);
            if (!(homing.missileSpeed == creepSpeed)) {
                // Homing: head for the recorded place moved along the target's
                // displacement, scaled by the travel time to the guide point.
                for (int k = 0; k < 3; ++k)
                    d[k] = snap[k] + (aimAt[k] - snap[k]) * dist / (40.0 * homing.missileSpeed) - *pos[k];
                dist = length(d);
            }
            // A missile exactly on its heading point has no direction: it
            // stays where it is this frame instead of dividing by zero.
            if (dist != 0.0)
                for (int k = 0; k < 3; ++k) *pos[k] += homing.missileSpeed * d[k] / dist;
            homing.homingStep += 1.0;
        }
        if (m.z > 100.0) {
            m.active = 0;
            inFlight = 0;
        }
    }

    if (launchDelay > 0) launchDelay -= 1;
}

void Missile::drawSlot(int) {
    const Placement& m = placements[0];
    homing.spinAngle = (Real(double(homing.spinAngle)) + 5.0).toFloat();
    const Real radians = Real(double(homing.spinAngle)) * 0.017453292;
    D3DXMatrixRotationY(&graphics.worldMatrix, radians.toFloat());
    setTranslationRow(graphics.worldMatrix, m.x.toFloat(), m.y.toFloat(), m.z.toFloat());
    graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
    graphics.drawMesh();
    if (homing.spinAngle == 360.0f) homing.spinAngle = 0.0f;
}

void Missile::offerTarget(const Placement& enemy, Real shipZ) {
    // Signed: an enemy already behind the ship beats every one ahead of it.
    const Real gap = enemy.z - shipZ;
    if (nearestGap > gap) {
        nearestGap = gap;
        target = enemy;
    }
}

void Missile::drawIcon(float x, float y) { graphics.drawSprite(graphics.quadTexture, nullptr, 0.7f, 0.7f, x, y); }
