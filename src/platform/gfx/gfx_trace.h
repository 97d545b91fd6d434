// traceDisplay: writes the current frame's device calls into a trace object
// as {"draws": N, "calls": [{"op": ..., "args": [...]}, ...]}. A template
// over the writer so the platform layer does not depend on the app's
// JsonWriter (it fits: key/value/beginObject/beginArray/openObject/end).
#pragma once

#include "platform/gfx/gfx_config.h"

namespace platform::gfx {

template <typename Writer>
void traceDisplay(Writer& w, const char* name = "display") {
    const auto& calls = frameCalls();
    std::int64_t draws = 0;
    for (const auto& c : calls)
        draws += c.op == "DrawPrimitive" || c.op == "DrawSubset" || c.op == "Sprite.Draw";
    w.beginObject(name);
    w.key("draws").value(draws);
    w.beginArray("calls");
    for (const auto& c : calls) {
        w.openObject();
        w.key("op").value(c.op);
        w.beginArray("args");
        for (double a : c.args) w.value(a);
        w.end();
        w.end();
    }
    w.end();
    w.end();
}

}  // namespace platform::gfx
