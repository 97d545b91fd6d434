// The score board and the radar, inside the trace's "world" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"
#include "platform/gfx/gfx_config.h"

void writeHud(JsonWriter& w) {
    w.beginObject("score");
    w.field("total", world.scoreBoard.total).field("hits", world.scoreBoard.hits);
    w.end();
    // The blips of this frame's HUD pass in drawing order; none on frames
    // without one.
    const Radar& radar = world.radar;
    const int count = radar.blipsDrawnIn(platform::gfx::currentFrame());
    w.beginArray("radar");
    for (int i = 0; i < count; ++i) {
        w.openObject();
        w.field("image", radar.drawn[i].image).field("x", radar.drawn[i].x).field("y", radar.drawn[i].y);
        w.end();
    }
    w.end();
}
