#include "world/world.h"

using namespace platform;

namespace {
constexpr int explosionSound = 0;  // w\bokaan.wav
constexpr int radarSound = 1;      // w\radar.wav: something enters play
constexpr int shotKind = 1, missileKind = 2;
}  // namespace

World::World()
    : groups_{&enemy1, &enemy2, &enemy3, &enemy4, &enemy5, &enemy6,
              &enemy7, &enemy8, &enemy9, &enemy10, &enemy11, &enemy12} {}

void World::attachAll(IDirect3DDevice9* d, HWND window, ID3DXSprite* sprite) {
    // The warp seeds the process's random generator with the calendar time
    // (the first point at which the platform can tell it).
    WarpGroup::seedRandom();
    device = d;
    relay.graphics.attach(d, window, sprite);
    clock.graphics.attach(d, window, sprite);
    for (EnemyGroup* g : groups_) g->graphics.attach(d, window, sprite);
    for (FieldObject* o : std::initializer_list<FieldObject*>{&background, &enemyShots, &shotBlast, &missileBlast,
                                                              &radar, &scoreBoard, &boss, &boss2, &bossBeams,
                                                              &spiralBeams})
        o->graphics.attach(d, window, sprite);
    sounds.open(window, {"w\\bokaan.wav", "w\\radar.wav"});
}

void World::loadAll() {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    // Each load reports its own failure; the ones after it still run.
    background.load();
    for (EnemyGroup* g : groups_) g->load();
    enemyShots.load();
    shotBlast.load();
    missileBlast.load();
    radar.load();
    scoreBoard.load();
    boss.load();
    boss2.load();
    bossBeams.load();
    spiralBeams.load();
}

void World::reset(int d) {
    for (auto& cue : lastCue) cue = 0;
    allClear = 1;
    const int w = d > 0 ? 1 : d;  // hard starts like normal
    for (EnemyGroup* g : groups_) g->reset(w);
    boss.reset(w);
    boss2.reset(0);
    bossBeams.reset(w);
    spiralBeams.reset(0);
    scoreBoard.reset();
    enemyShots.reset();
    clock.reset();
    clock.tick = startTick_;
    shotBlast.reset(0);
    missileBlast.reset(0);
}

void World::checkShots(Placement* shots, std::uint8_t playerActive) {
    for (int i = 0; i < 3; ++i) {
        probe[i] = shots[i];
        if (shots[i].active && playerActive == 1) shots[i].active = hitScan(i, shotKind);
    }
}

void World::checkMissile(Placement* missile, std::uint8_t* inFlight) {
    probe[0] = *missile;
    if (!missile->active) return;
    const std::uint8_t survives = hitScan(0, missileKind);
    missile->active = survives;
    *inFlight = survives;
    if (survives == 0) missileBlast.spawnAt(probe[0]);
}

void World::drawHud() {
    radar.drawPanel(0, 0.8f, 0.8f);
    for (EnemyGroup* g : groups_) radar.blipsFor(g->slotCount, g->placements.data(), playerHud.x, playerHud.y);
    radar.blipsFor(1, boss2.placements.data(), playerHud.x, playerHud.y);
    if (boss.entranceTimer < 780) radar.blipsFor(1, boss.placements.data(), playerHud.x, playerHud.y);
    scoreBoard.draw();
}

void World::frame() {
    // 1. Update what is in play.
    for (EnemyGroup* g : groups_) relay.updateIfLive(*g);
    relay.updateIfLive(shotBlast);
    relay.updateIfLive(missileBlast);
    relay.updateIfLive(boss);
    relay.updateIfLive(boss2);

    // 2. Draw.
    UpdateRelay::drawActiveSlots(background, 1);
    for (EnemyGroup* g : groups_) UpdateRelay::drawActiveSlots(*g, g->slotCount);
    UpdateRelay::drawActiveSlots(shotBlast, Effect::poolSize);
    UpdateRelay::drawActiveSlots(missileBlast, Effect::poolSize);
    UpdateRelay::drawActiveSlots(boss, 1);
    UpdateRelay::drawActiveSlots(boss2, 1);

    // 3. Enemy fire, for the groups whose current wave has entered play.
    for (int k = 0; k < groupCount; ++k)
        if (lastCue[k] == groups_[k]->placements[0].cue) UpdateRelay::driveShots(*groups_[k], enemyShots, 1);
    if (lastCue[12] == boss.placements[0].cue && boss.placements[0].active)
        UpdateRelay::driveShots(boss, bossBeams, 1);
    if (lastCue[13] == boss2.placements[0].cue && boss2.placements[0].active)
        UpdateRelay::driveShots(boss2, spiralBeams, 1);
    bossBeams.setEntranceTimer(boss.entranceTimer);

    // 4. Waves and bosses.
    schedule();
}

void World::schedule() {
    for (int k = 0; k < groupCount; ++k)
        if (groups_[k]->appeared == 0) spawnDue(groups_[k]->slotCount, *groups_[k], k, enemyShots);
    if (boss.appeared == 0) spawnDue(1, boss, 12, bossBeams);
    if (boss2.appeared == 0) spawnDue(1, boss2, 13, spiralBeams);

    // Cleared groups come back for their next wave on normal and hard.
    if (difficulty == 1) {
        for (int k = 0; k <= 10; ++k) rearmGroup(*groups_[k], groups_[k]->slotCount, 3);
    } else if (difficulty == 2) {
        for (int k = 0; k <= 11; ++k) rearmGroup(*groups_[k], groups_[k]->slotCount, 2);
        for (int k = 0; k <= 10; ++k) rearmGroup(*groups_[k], groups_[k]->slotCount, 3);
        for (int k = 8; k <= 10; ++k) rearmGroup(*groups_[k], groups_[k]->slotCount, 4);
    }

    // The first boss drops in from above and hangs until its timer runs out.
    if (boss.appeared == 1) {
        boss.placements[0].y = 100.0;
        boss.entranceTimer = 940;
        boss.appeared = 0;
    }
    if (boss.entranceTimer == 780) boss.placements[0].y = 5.0;
}

void World::spawnDue(int n, FieldObject& object, int k, FieldObject& shots) {
    for (int i = 0; i < n; ++i) {
        Placement& slot = object.placements[i];
        if (slot.active || !clock.tickIs(slot.cue)) continue;
        restartSound(radarSound);
        slot.active = 1;
        lastCue[k] = slot.cue;
        const int link = shots.claimFreeSlot();
        slot.link = link;
        shots.arm(link);
        object.appeared = 1;
    }
}

void World::rearmGroup(EnemyGroup& group, int n, int w) {
    allClear = 1;
    for (int i = 0; i < n; ++i)
        if (group.placements[i].active || group.placements[i].link != NoLink) allClear = 0;
    if (allClear == 1 && (group.placements[0].cue == group.waveCue[w - 1] || difficulty == 1)) group.reset(w);
}

std::uint8_t World::hitScan(int p, int kind) {
    inactiveSeen = 0;
    std::uint8_t result = 1;
    // A shot stops at its first enemy; the missile goes through every group.
    for (EnemyGroup* g : groups_)
        if (result == 1 || kind == missileKind) result = testGroup(*g, g->slotCount, p, kind);
    if (result == 1) result = testBoss(boss, boss.hitPoints, p, kind);
    if (result == 1) result = testBoss(boss2, boss2.hitPoints, p, kind);
    if (kind == missileKind) {
        if (missileHits >= 10) {
            missileHits = 0;
            result = 0;
        }
        // With nothing left in play the missile ends.
        if (inactiveSeen == enemySlots && !boss.placements[0].active && !boss2.placements[0].active) result = 0;
    }
    return result;
}

std::uint8_t World::testGroup(EnemyGroup& group, int n, int p, int kind) {
    for (int i = 0; i < n; ++i) {
        Placement& slot = group.placements[i];
        if (!slot.active) {
            ++inactiveSeen;
            continue;
        }
        if (!hitTester.boxesOverlap(probe[p], slot)) continue;
        restartSound(explosionSound);
        slot.active = 0;
        scoreBoard.addKill();
        if (kind == shotKind) {
            shotBlast.spawnAt(slot);
            return 0;  // one enemy per shot
        }
        missileBlast.spawnAt(slot);
        ++missileHits;
        if (missileHits >= 10) return 0;
    }
    return 1;
}

std::uint8_t World::testBoss(FieldObject& target, std::int32_t& hitPoints, int p, int kind) {
    Placement& slot = target.placements[0];
    if (!slot.active || !hitTester.boxesOverlap(probe[p], slot)) return 1;
    restartSound(explosionSound);
    hitPoints -= 1;
    bossBeams.setBossHitPoints(boss.hitPoints);
    if (hitPoints == 0) {
        slot.active = 0;
        scoreBoard.addKill();
    }
    // The blast is at the probe, not at the boss.
    if (kind == shotKind) shotBlast.spawnAt(probe[p]);
    else missileBlast.spawnAt(probe[p]);
    return 0;
}

void World::restartSound(int entry) {
    sounds.stop(entry);
    sounds.play(entry);
}
