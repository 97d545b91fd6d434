// The trace's "player" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"

namespace {

void writePosition(JsonWriter& w, const Placement& p) {
    w.field("x", p.x.value()).field("y", p.y.value()).field("z", p.z.value());
}

void writeXyz(JsonWriter& w, const char* name, Real x, Real y, Real z) {
    w.beginArray(name);
    w.value(x.value()).value(y.value()).value(z.value());
    w.end();
}

void writeMissile(JsonWriter& w) {
    const Missile& m = playerSide.missile;
    const MissileHoming& h = missileHoming();
    w.beginObject("missile");
    writePosition(w, m.placements[0]);
    w.field("active", m.placements[0].active);
    w.field("launchDelay", m.launchDelay).field("stock", m.stock).field("inFlight", m.inFlight);
    writeXyz(w, "target", m.target.x, m.target.y, m.target.z);
    writeXyz(w, "aim", m.aim.x, m.aim.y, m.aim.z);
    w.field("nearestGap", m.nearestGap.value());
    w.field("homingStep", h.homingStep.value()).field("missileSpeed", h.missileSpeed.value());
    writeXyz(w, "guidePoint", h.guidePoint[0], h.guidePoint[1], h.guidePoint[2]);
    writeXyz(w, "aimSnapshot", h.aimSnapshot[0], h.aimSnapshot[1], h.aimSnapshot[2]);
    w.field("spinAngle", static_cast<double>(h.spinAngle));
    w.end();
}

}  // namespace

void writePlayer(JsonWriter& w) {
    const PlayerSide& side = playerSide;
    w.beginObject("player");

    const Placement& ship = side.ship.placements[0];
    w.beginObject("ship");
    writePosition(w, ship);
    w.field("active", ship.active).field("roll", side.ship.roll.value());
    w.end();

    w.beginArray("shots");
    for (const Placement& shot : side.shots.placements) {
        w.openObject();
        writePosition(w, shot);
        w.field("active", shot.active);
        w.end();
    }
    w.end();
    w.field("shotCooldown", side.shots.shotCooldown);

    writeMissile(w);

    w.beginObject("sight");
    writePosition(w, side.sight.placements[0]);
    w.field("locked", side.sight.locked);
    w.end();

    w.field("hp", side.hpGauge.value);
    w.field("blinkCounter", side.blinkCounter).field("gaugeFrame", side.gaugeFrame);
    w.field("invulnerableFrames", side.invulnerableFrames).field("hitFlag", side.hitFlag);
    w.field("shotSoundDelay", shotSoundDelay()).field("missileSoundDelay", missileSoundDelay());
    w.field("flameScale", flameScale().value()).field("flameCounter", flameCounter());
    w.field("cameraX", side.cameraX.value());

    w.beginArray("playerBlast");
    const Effect& blast = side.playerBlast;
    for (int i = 0; i < Effect::poolSize; ++i) {
        const Placement& p = blast.placements[i];
        w.openObject();
        writePosition(w, p);
        w.field("active", p.active);
        w.field("column", blast.column[i]).field("row", blast.row[i]).field("delay", blast.frameDelay[i]);
        w.end();
    }
    w.end();

    w.end();
}
