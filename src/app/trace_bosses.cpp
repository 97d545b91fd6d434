// The bosses and their beams, inside the trace's "world" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"
#include "world/beams.h"
#include "world/boss.h"

namespace {

void writeSlot(JsonWriter& w, const Placement& p) {
    w.field("x", p.x.value()).field("y", p.y.value()).field("z", p.z.value());
    w.field("active", p.active);
}

void writeBeamSlots(JsonWriter& w, const FieldObject& beams, int count) {
    w.beginArray("slots");
    for (int i = 0; i < count; ++i) {
        w.openObject();
        writeSlot(w, beams.placements[i]);
        w.end();
    }
    w.end();
}

}  // namespace

void writeBosses(JsonWriter& w) {
    const Boss& boss = world.boss;
    w.beginObject("boss");
    writeSlot(w, boss.placements[0]);
    w.field("hp", boss.hitPoints).field("entranceTimer", boss.entranceTimer);
    w.field("sweepDirection", bossSweepDirection()).field("sweepDelay", bossSweepDelay());
    w.field("appeared", boss.appeared).field("cue", boss.placements[0].cue);
    w.end();

    const Boss2& boss2 = world.boss2;
    w.beginObject("boss2");
    writeSlot(w, boss2.placements[0]);
    w.field("hp", boss2.hitPoints);
    w.field("vx", boss2Vx().value()).field("vy", boss2Vy().value());
    w.field("appeared", boss2.appeared).field("cue", boss2.placements[0].cue);
    w.end();

    const BossBeams& fans = world.bossBeams;
    w.beginObject("bossBeams");
    w.field("pattern", fans.pattern).field("shotCount", fans.shotCount);
    w.field("cooldown", fans.cooldown).field("period", fans.period);
    w.field("column", fans.column).field("row", fans.row);
    w.field("hp", fans.bossHitPoints).field("entranceTimer", fans.entranceTimer);
    writeBeamSlots(w, fans, BossBeams::poolSize);
    w.end();

    const SpiralBeams& rings = world.spiralBeams;
    w.beginObject("spiralBeams");
    w.field("beamCount", rings.beamCount).field("cooldown", rings.cooldown);
    w.field("radius", rings.radius.value()).field("phase", rings.phase.value());
    const RingCentre& c = ringCentre();
    w.beginArray("centre");
    w.value(c.x.value()).value(c.y.value()).value(c.z.value());
    w.end();
    writeBeamSlots(w, rings, SpiralBeams::poolSize);
    w.end();
}
