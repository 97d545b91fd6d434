// The score board and the radar, inside the trace's "world" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"

void writeHud(JsonWriter& w) {
    w.beginObject("score");
    w.field("total", world.scoreBoard.total).field("hits", world.scoreBoard.hits);
    w.end();
}
