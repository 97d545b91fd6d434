// The bosses and their beams, inside the trace's "world" group.
#include "app/json_writer.h"
#include "app/singletons.h"
#include "app/trace_groups.h"

void writeBosses(JsonWriter&) {}
