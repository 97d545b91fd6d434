// What each frame's trace line holds. Every part of the game adds its state
// here under its owner's name.
#include "app/harness.h"
#include "audio/audio_trace.h"
#include "app/json_writer.h"
#include "app/process.h"
#include "app/trace_groups.h"
#include "app/singletons.h"
#include "app/win_main.h"
#include "platform/gfx/gfx_trace.h"
#include "platform/crt.h"
#include "platform/os.h"
#include "world/background.h"

namespace {

// An [x, y, z] array, as an array element or after a key.
void writeXyz(JsonWriter& w, Real x, Real y, Real z) {
    w.openArray();
    w.value(x.value()).value(y.value()).value(z.value());
    w.end();
}

// The screens, the camera and the frame's device calls.
void writeDisplay(JsonWriter& w) {
    w.beginObject("display");
    w.field("titleScreen", display.titleScreen);
    w.field("storyScreen", display.storyScreen);
    w.field("inGame", display.inGame);
    w.field("gameOver", display.gameOver);
    w.field("stageClear", display.stageClear);
    w.field("staffRoll", display.staffRoll);
    w.field("screenDelay", display.screenDelay);
    w.field("menuRepeatDelay", display.menuRepeatDelay);
    w.field("difficulty", display.difficulty);
    w.field("idleFrames", display.idleFrames);
    w.field("gameOverTimer", display.gameOverTimer);
    w.field("gameOverY", display.gameOverY);
    w.field("clearTimer", display.clearTimer);
    w.field("storyStart", display.storyStart);
    w.field("storyNow", display.storyNow);
    w.field("storySlideA", display.storySlideA);
    w.field("storySlideB", display.storySlideB);
    w.field("storySlideToggle", display.storySlideToggle);
    w.beginArray("storyCues");
    for (auto cue : display.storyCues) w.value(static_cast<int>(cue));
    w.end();
    w.field("titleMusicStarted", display.titleMusicStarted);
    w.field("staffMusicStopped", display.staffMusicStopped);
    w.field("gameMusicOn", display.gameMusicOn);
    w.field("bossFadeDone", display.bossFadeDone);
    w.field("bossMusicDelay", display.bossMusicDelay);
    w.beginArray("letters");
    for (const Placement& letter : display.placements) writeXyz(w, letter.x, letter.y, letter.z);
    w.end();
    w.field("letterSpin", static_cast<double>(ScreenImages::letterSpin));
    w.beginObject("camera");
    const CameraFields& camera = display.camera;
    w.field("sway", camera.sway.value());
    w.field("swayPhase", camera.swayPhase.value());
    w.field("swaySpeed", camera.swaySpeed.value());
    w.key("lookAt");
    writeXyz(w, camera.lookAtX, camera.lookAtY, camera.lookAtZ);
    w.key("eye");
    writeXyz(w, camera.eyeX, camera.eyeY, camera.eyeZ);
    w.field("fov", camera.fieldOfView.value());
    w.field("aspect", static_cast<double>(display.aspect));
    w.field("mode", display.director.mode);
    w.field("orbitAngle", display.director.orbitAngle.value());
    w.field("orbitHeight", display.director.orbitHeight.value());
    w.end();
    // The device calls are most of a frame's line: named on their own.
    if (w.wants("device")) platform::gfx::traceDisplay(w, "device");
    w.end();
}

// A slot's position and active byte, the start of every slot the trace shows.
void writePosition(JsonWriter& w, const Placement& p) {
    w.field("x", p.x.value()).field("y", p.y.value()).field("z", p.z.value());
    w.field("active", p.active);
}

// One object's slots as the trace shows them.
void writeSlots(JsonWriter& w, const FieldObject& object, int count, bool full) {
    w.beginArray("slots");
    for (int i = 0; i < count; ++i) {
        const Placement& p = object.placements[i];
        w.openObject();
        writePosition(w, p);
        if (full) {
            w.field("cue", p.cue).field("link", p.link).field("extra", p.extra);
            w.field("halfX", p.halfX.value()).field("halfY", p.halfY.value()).field("halfZ", p.halfZ.value());
        }
        w.end();
    }
    w.end();
}

void writeBlast(JsonWriter& w, const char* name, const Effect& blast) {
    w.beginObject(name);
    w.beginArray("slots");
    for (int i = 0; i < Effect::poolSize; ++i) {
        w.openObject();
        writePosition(w, blast.placements[i]);
        w.field("column", blast.column[i]).field("row", blast.row[i]).field("delay", blast.frameDelay[i]);
        w.end();
    }
    w.end();
    w.end();
}

// The field of play: the schedule, the enemy groups, their shots, the
// explosions, the corridor's scroll and the score.
void writeWorld(JsonWriter& w) {
    w.beginObject("world");
    w.field("tick", world.clock.tick);
    w.field("difficulty", world.difficulty);
    w.beginArray("lastCue");
    for (auto cue : world.lastCue) w.value(cue);
    w.end();
    w.field("missileHits", world.missileHits);
    w.field("random", static_cast<std::uint64_t>(platform::randomState()));
    w.beginArray("groups");
    for (int k = 0; k < World::groupCount; ++k) {
        const EnemyGroup& g = world.group(k);
        w.openObject();
        w.field("appeared", g.appeared);
        writeSlots(w, g, g.slotCount, true);
        w.end();
    }
    w.end();
    w.beginObject("enemyShots");
    writeSlots(w, world.enemyShots, EnemyShots::SlotCount, false);
    w.beginArray("cooldown");
    for (int i = 0; i < EnemyShots::SlotCount; ++i) w.value(world.enemyShots.cooldownOf(i));
    w.end();
    w.end();
    writeBlast(w, "shotBlast", world.shotBlast);
    writeBlast(w, "missileBlast", world.missileBlast);
    w.field("backgroundV", backgroundV().value());
    writeHud(w);
    writeBosses(w);
    w.end();
}

}  // namespace

void writeFrameState(JsonWriter& w, std::uint64_t frame, std::uint64_t passes, std::uint32_t ms) {
    w.field("frame", frame);
    w.field("pass", passes);
    w.field("ms", static_cast<std::uint64_t>(ms));
    // Groups nobody asked for (--trace-groups) are not even gathered.
    if (w.wants("input")) {
        w.beginObject("input");
        w.field("direction", controlMode == 0 ? keyboard.direction() : joystick.direction());
        w.field("action", controlMode == 0 ? keyboard.action() : joystick.action());
        w.end();
    }
    if (w.wants("controlMode")) w.field("controlMode", controlMode);
    if (w.wants("rate")) w.field("rate", playerSide.rateReadout.rate);
    if (w.wants("drawnRate")) w.field("drawnRate", drawnRate());
    // The boxes and the audio calls belong to this frame, written or not.
    const auto boxes = platform::takeShownBoxes();
    if (w.wants("boxes")) {
        w.beginArray("boxes");
        for (const auto& box : boxes) {
            w.openObject();
            w.field("caption", box.caption);
            w.field("text", box.text);
            w.field("type", box.type);
            w.end();
        }
        w.end();
    }
    if (w.wants("display")) writeDisplay(w);
    if (w.wants("world")) writeWorld(w);
    if (w.wants("player")) writePlayer(w);
    traceAudio(w);
}
