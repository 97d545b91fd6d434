// The one place that reads the game's objects for the autopilot.
#include "app/singletons.h"
#include "autopilot/game_view.h"

namespace autopilot {

namespace {

ViewBox box(const Placement& p, bool active) {
    ViewBox b;
    b.x = p.x.value();
    b.y = p.y.value();
    b.z = p.z.value();
    b.hx = p.halfX.value();
    b.hy = p.halfY.value();
    b.hz = p.halfZ.value();
    b.active = active;
    return b;
}

Screen screenOf(const Display& d) {
    if (d.storyScreen) return Screen::Story;
    if (d.staffRoll) return Screen::StaffRoll;
    if (d.gameOver) return Screen::GameOver;
    if (d.stageClear) return Screen::Clear;
    if (d.inGame) return d.screenDelay > 0 ? Screen::StartHold : Screen::Play;
    return Screen::Title;
}

}  // namespace

void captureView(GameView& view) {
    view.screen = screenOf(display);
    view.difficulty = display.difficulty;
    const Placement& ship = playerSide.ship.placements[0];
    view.ship = box(ship, ship.active == 1);
    view.invulnerableFrames = playerSide.invulnerableFrames;
    view.hitPoints = playerSide.hitPoints();
    view.score = world.scoreBoard.total;
    view.missileStock = playerSide.missile.stock;
    view.missileInFlight = playerSide.missile.placements[0].active != 0 || playerSide.missile.inFlight != 0;
    view.bossEntering = world.boss.entranceTimer > 0;

    for (int i = 0; i < GameView::enemyShotCount; ++i) {
        const Placement& s = world.enemyShots.placements[i];
        view.shots[i] = box(s, s.active != 0);
    }
    // A boss's beams can hit only while their boss is in play.
    const bool bossLive = world.boss.placements[0].active == 1;
    for (int i = 0; i < GameView::bossBeamCount; ++i) {
        const Placement& s = world.bossBeams.placements[i];
        view.shots[GameView::firstBossBeam + i] = box(s, bossLive && s.active != 0);
    }
    const bool boss2Live = world.boss2.placements[0].active == 1;
    for (int i = 0; i < GameView::ringBeamCount; ++i) {
        const Placement& s = world.spiralBeams.placements[i];
        view.shots[GameView::firstRingBeam + i] = box(s, boss2Live && s.active != 0);
    }

    int n = 0;
    for (int k = 0; k < World::groupCount; ++k) {
        const EnemyGroup& g = world.group(k);
        for (int i = 0; i < g.slotCount && n < GameView::enemyCount; ++i, ++n)
            view.bodies[n] = box(g.placements[i], g.placements[i].active != 0);
    }
    const Placement& b2 = world.boss2.placements[0];
    view.bodies[GameView::boss2Body] = box(b2, b2.active != 0);
    const Placement& b1 = world.boss.placements[0];
    view.bodies[GameView::bossBody] = box(b1, b1.active != 0);
}

}  // namespace autopilot
