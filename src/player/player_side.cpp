#include "player/player_side.h"

#include "world/world.h"

using namespace platform;

namespace {

// The sound pacing of the fire and launch keys, kept for the whole run.
std::int32_t shotSoundDelay_ = 20;
std::int32_t missileSoundDelay_ = 20;

// Sound bank entries.
constexpr int ShotSound = 0, LaunchSound = 1, HitSound = 2, SirenSound = 3;

constexpr std::int32_t Fire = 5, Launch = 10;
constexpr std::int32_t SoundDelay = 20;
constexpr std::int32_t Recovery = 150;  // invulnerable frames after a hit

}  // namespace

std::int32_t shotSoundDelay() { return shotSoundDelay_; }
std::int32_t missileSoundDelay() { return missileSoundDelay_; }

void PlayerSide::attach(IDirect3DDevice9* device, HWND window, ID3DXSprite* sprite) {
    for (FieldObject* o : {static_cast<FieldObject*>(&rateReadout), static_cast<FieldObject*>(&ship),
                           static_cast<FieldObject*>(&shots), static_cast<FieldObject*>(&missile),
                           static_cast<FieldObject*>(&playerBlast), static_cast<FieldObject*>(&hpGauge),
                           static_cast<FieldObject*>(&sight)})
        o->graphics.attach(device, window, sprite);
    sounds.open(window, {"w\\pishun.wav", "w\\missile.wav", "w\\bokaan.wav", "w\\silen.wav"});
}

void PlayerSide::load() {
    // Each member reports its own failure; the ones after it still load.
    rateReadout.load();
    ship.load();
    shots.load();
    missile.load();
    playerBlast.load();
    hpGauge.load();
    sight.load();
}

void PlayerSide::reset() {
    hitFlag = 0;
    invulnerableFrames = 0;
    cameraX = 0.0;
    blinkCounter = 0;
    gaugeFrame = 0;
    hpGauge.reset();
    ship.reset(0);
    shots.reset(0);
    missile.reset(0);
    playerBlast.reset(0);
}

void PlayerSide::handleAction(std::int32_t action, std::int32_t bossEntranceTimer, std::uint8_t missileActive,
                              std::int32_t missileStock, std::uint8_t gameOver, std::uint8_t stageClear) {
    // During the game-over sequence the relay keeps the last code.
    if (gameOver == 0) relay.setInput(action);
    const bool quiet = bossEntranceTimer != 0 || gameOver != 0 || stageClear != 0;
    if (action == Fire && shotSoundDelay_ == 0 && !quiet) {
        sounds.play(ShotSound);
        shotSoundDelay_ = SoundDelay;
    }
    if (action == Launch && missileSoundDelay_ == 0 && !quiet && missileActive == 0 && missileStock != 0) {
        sounds.stop(LaunchSound);
        sounds.play(LaunchSound);
        missileSoundDelay_ = SoundDelay;
    }
    if (shotSoundDelay_ > 0) --shotSoundDelay_;
    if (missileSoundDelay_ > 0) --missileSoundDelay_;
}

bool PlayerSide::shotHitsShip(int i) {
    if (!ship.placements[0].active) return false;
    if (!hitTester.boxesOverlap(shotCopies[i], ship.placements[0])) return false;
    hitFlag = 1;
    playerBlast.spawnAt(shotCopies[i]);
    return true;
}

void PlayerSide::testEnemyShots(Placement* enemyShots) {
    ship.setStatus(invulnerableFrames, hpGauge.value);
    if (invulnerableFrames != 0) return;
    for (int i = 0; i < 100; ++i) {
        shotCopies[i] = enemyShots[i];
        if (enemyShots[i].active && ship.placements[0].active && shotHitsShip(i)) {
            sounds.stop(HitSound);
            sounds.play(HitSound);
            enemyShots[i].z = -50.0;  // the shot leaves the field
            invulnerableFrames = Recovery;
            return;
        }
    }
}

void PlayerSide::testBossShots(Placement* bossShots, std::uint8_t bossActive) {
    if (bossActive != 1 || invulnerableFrames != 0) return;
    for (int i = 0; i < 20; ++i) {
        shotCopies[i] = bossShots[i];
        if (bossShots[i].active && shotHitsShip(i)) {
            sounds.play(HitSound);
            bossShots[i].z = -50.0;
            invulnerableFrames = Recovery;
            return;
        }
    }
}

void PlayerSide::testEnemyBodies(World& world) {
    sight.locked = 0;
    sight.placements[0].z = 20.0;
    // Invulnerability is looked at once: a hit in one group does not spare
    // the later ones this frame.
    if (invulnerableFrames == 0) {
        // Every unit of each group, in schedule order (as the radar walks them).
        for (int k = 0; k < World::groupCount; ++k) {
            EnemyGroup& group = world.group(k);
            testGroup(group.slotCount, group.placements.data());
        }
        testGroup(1, world.boss2.placements.data());
        testGroup(1, world.boss.placements.data());
    }
    missile.clearSearch();
}

void PlayerSide::testGroup(int count, Placement* slots) {
    const Placement& body = ship.placements[0];
    if (!body.active) return;
    for (int i = 0; i < count; ++i) {
        Placement& enemy = slots[i];
        if (!enemy.active) continue;
        missile.offerTarget(enemy, body.z);
        if (!hitTester.axisOverlaps(body.x, body.halfX, enemy.x, enemy.halfX) ||
            !hitTester.axisOverlaps(body.y, body.halfY, enemy.y, enemy.halfY))
            continue;
        // In line with the ship: the first such enemy of the frame holds the sight.
        if (!sight.locked) {
            sight.locked = 1;
            sight.placements[0].z = enemy.z;
        }
        if (hitTester.axisOverlaps(body.z, body.halfZ, enemy.z, enemy.halfZ)) {
            sounds.play(HitSound);
            hitFlag = 1;
            playerBlast.spawnAt(enemy);  // the enemy itself flies on
            invulnerableFrames = Recovery;
            return;
        }
    }
}

void PlayerSide::applyHit() {
    if (hitFlag == 1) {
        // However many things hit the ship this frame, it costs one point.
        ship.placements[0].active = hpGauge.lose(1) ? 1 : 0;
        hitFlag = 0;
        if (hpGauge.value == 1) sounds.play(SirenSound);
    }
    if (invulnerableFrames > 0) --invulnerableFrames;
}

void PlayerSide::drawStatus() {
    const std::int32_t hp = hpGauge.value;
    if (hp == 2 || hp == 1) ++blinkCounter;
    // Frame index: the hit points, or the first half of the blink.
    gaugeFrame = hp;
    if (blinkCounter > 0 && blinkCounter < 100 && gaugeFrame == 2) gaugeFrame = 5;
    if (blinkCounter > 0 && blinkCounter < 50 && gaugeFrame == 1) gaugeFrame = 4;
    if (hp == 0) gaugeFrame = 0;
    hpGauge.drawFrame(gaugeFrame);
    for (int i = 0; i < missile.stock; ++i) missile.drawIcon(static_cast<float>(200 + 50 * i), 490.0f);
    if (blinkCounter > 200 && gaugeFrame == 2) blinkCounter = 0;
    if (blinkCounter > 100 && gaugeFrame == 1) blinkCounter = 0;
}

void PlayerSide::runFrame() {
    relay.storePlayer(ship.placements[0]);
    shots.update(relay.action(), 0, relay.player());
    missile.update(relay.action(), 0, relay.player());
    playerBlast.update(relay.action(), 0, relay.player());

    UpdateRelay::drawActiveSlots(ship, 1);
    if (ship.placements[0].active) {
        UpdateRelay::drawActiveSlots(shots, 3);
        UpdateRelay::drawActiveSlots(missile, 1);
        UpdateRelay::drawActiveSlots(sight, 1);
    }
    UpdateRelay::drawActiveSlots(playerBlast, Effect::poolSize);

    applyHit();

    // Drawn from the next frame on at the ship's present x and y.
    sight.placements[0] = ship.placements[0];
}
