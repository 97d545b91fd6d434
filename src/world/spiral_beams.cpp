#include "world/spiral_beams.h"

using namespace platform;

namespace {

RingCentre centre_;

// One degree as this game has always measured it (3.1415792 / 180).
constexpr double degree = 0.017453217777777776;
constexpr double ringStart = 0.01;
const char* const FailureText = "tamaロスト";

}  // namespace

const RingCentre& ringCentre() { return centre_; }

// The sound bank closes after the mesh is released, as its member goes.
SpiralBeams::~SpiralBeams() { graphics.releaseMesh(); }

bool SpiralBeams::load() {
    sounds.open(graphics.ownerWindow, {"w\\boss2.wav"});
    return graphics.loadMesh("x\\beam3.x", FailureText);
}

void SpiralBeams::reset(int) {
    for (int i = 0; i < poolSize; ++i) {
        setPosition(i, i - 8, 1.0, -50.0, 0, 0);
        setHalfExtents(i, 2.0, 1.0, 2.0);
    }
    beamCount = poolSize;
    cooldown = volleyPeriod;
    radius = ringStart;
    phase = 0.0;
}

void SpiralBeams::arm(int) {
    for (int i = 0; i < beamCount; ++i) {
        cooldown = volleyPeriod;
        placements[i].z = -50.0;
    }
}

void SpiralBeams::fireFrom(Placement* shooter, int) {
    if (cooldown > 0) --cooldown;
    const bool due = cooldown == 0;
    for (int i = 0; i < beamCount; ++i) {
        Placement& beam = placements[i];
        // Past the player: parked behind it, live while the boss is.
        if (beam.z < -20.0) setPosition(i, 0.0, 1.0, -50.0, shooter->active, 0);
        if (due && shooter->active) {
            beam.x = shooter->x;
            beam.y = shooter->y;
            beam.z = shooter->z;
            radius = ringStart;
            beam.active = 1;
        } else if (due) {
            setPosition(i, 0.0, 1.0, -50.0, 0, 0);
        }
    }
    if (due && shooter->active) sounds.play(0);
    if (due) cooldown = volleyPeriod;
}

void SpiralBeams::moveShots(Placement shooter, int, int) {
    // A ring that has just left takes the boss's place as its centre.
    if (radius == ringStart) centre_ = {shooter.x, shooter.y, shooter.z};
    for (int i = 0; i < beamCount; ++i) {
        Placement& beam = placements[i];
        if (!beam.active) continue;
        const Real a = Real(i) * degree * 15.0 + phase;
        beam.x = cos(a) * radius + centre_.x;
        beam.y = sin(a) * radius + centre_.y;
        beam.z = beam.z - 0.6;
    }
    radius += 0.06;
    phase += 0.07;
}

void SpiralBeams::drawShots(int, int) {
    if (!graphics.mesh) return;  // its load failed: the window is gone
    for (int i = 0; i < beamCount; ++i) {
        const Placement& beam = placements[i];
        setTranslationRow(graphics.worldMatrix, beam.x.toFloat(), beam.y.toFloat(), beam.z.toFloat());
        graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
        graphics.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        graphics.drawMesh();
        graphics.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
}
