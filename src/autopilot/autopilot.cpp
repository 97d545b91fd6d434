#include "autopilot/autopilot.h"

#include "autopilot/game_log.h"
#include "autopilot/game_view.h"
#include "autopilot/pilot.h"
#include "platform/input.h"

namespace autopilot {

namespace {

bool on = false;
int wanted = 0;
Pilot pilot(0);
GameLog gameLog;
std::uint64_t frames = 0;
GameView views[2];
int current = 0;
bool hasPrev = false;
std::uint8_t keys[256] = {};

}  // namespace

void enable(int difficulty) {
    on = true;
    wanted = difficulty;
    pilot = Pilot(difficulty);
    hasPrev = false;
}

bool enabled() { return on; }

void beforeInput() {
    if (!on) return;
    GameView& now = views[current];
    const GameView& prev = views[current ^ 1];
    captureView(now);
    gameLog.note(now, frames++, wanted);
    const std::uint8_t held = pilot.decide(now, prev, hasPrev);
    keys[platform::DIK_UP] = (held & KeyUp) ? 0x80 : 0;
    keys[platform::DIK_DOWN] = (held & KeyDown) ? 0x80 : 0;
    keys[platform::DIK_LEFT] = (held & KeyLeft) ? 0x80 : 0;
    keys[platform::DIK_RIGHT] = (held & KeyRight) ? 0x80 : 0;
    keys[platform::DIK_Z] = (held & KeyFire) ? 0x80 : 0;
    keys[platform::DIK_X] = (held & KeyMissile) ? 0x80 : 0;
    platform::setInjectedKeys(keys);
    current ^= 1;
    hasPrev = true;
}

}  // namespace autopilot
