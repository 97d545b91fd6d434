// The trace's "player" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"

void writePlayer(JsonWriter&) {}
