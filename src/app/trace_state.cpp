// What each frame's trace line holds. Every part of the game adds its state
// here under its owner's name.
#include "app/harness.h"
#include "audio/audio_trace.h"
#include "app/json_writer.h"
#include "app/process.h"
#include "app/singletons.h"
#include "platform/gfx/gfx_trace.h"
#include "platform/os.h"

void writeFrameState(JsonWriter& w, std::uint64_t frame, std::uint64_t passes) {
    w.field("frame", frame);
    w.field("pass", passes);
    w.field("ms", static_cast<std::uint64_t>(platform::timeGetTime()));
    w.beginObject("input");
    w.field("direction", controlMode == 0 ? keyboard.direction() : joystick.direction());
    w.field("action", controlMode == 0 ? keyboard.action() : joystick.action());
    w.end();
    w.field("controlMode", controlMode);
    w.field("rate", playerSide.rateReadout.rate);
    w.beginArray("boxes");
    for (const auto& box : platform::takeShownBoxes()) {
        w.openObject();
        w.field("caption", box.caption);
        w.field("text", box.text);
        w.field("type", box.type);
        w.end();
    }
    w.end();

    w.beginObject("display");
    w.field("titleScreen", display.titleScreen);
    w.field("storyScreen", display.storyScreen);
    w.field("inGame", display.inGame);
    w.field("gameOver", display.gameOver);
    w.field("stageClear", display.stageClear);
    w.field("staffRoll", display.staffRoll);
    w.field("screenDelay", display.screenDelay);
    platform::gfx::traceDisplay(w, "device");
    w.end();

    traceAudio(w);
}
