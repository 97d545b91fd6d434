// BossBeams: Boss's shots. A fan of ten beams every 150 frames once the boss
// has made its entrance; when the boss is down to its last hit points, a
// faster, tighter volley with a second look every 50 frames.
#pragma once

#include <cstdint>

#include "audio/sound_bank.h"
#include "world/field_object.h"

class BossBeams : public FieldObject {
public:
    static constexpr int poolSize = 20;
    static constexpr std::int32_t firstPeriod = 150;
    static constexpr std::int32_t latePeriod = 50;
    static constexpr std::int32_t lateBelow = 12;  // boss hit points that bring the late volleys

    BossBeams() : FieldObject(poolSize) { reset(0); }
    ~BossBeams() override;

    // Start-up: the volley sound, then mesh 0 and mesh 1 (not tried after a
    // failure of mesh 0). False after a failure (already reported).
    bool load();
    // w: 0 on easy, 1 otherwise.
    void reset(int w) override;

    void setBossHitPoints(std::int32_t hp) { bossHitPoints = hp; }
    void setEntranceTimer(std::int32_t t) { entranceTimer = t; }

    // The boss has just entered: a full wait before its first volley.
    void arm(int link) override;
    // Counts the wait down; parks beams that have flown past; fires a volley
    // when the wait is over and the entrance is done; switches to the late
    // volleys at a volley's time.
    void fireFrom(Placement* shooter, int link) override;
    // The fan, or the late volley's drifts.
    void moveShots(Placement shooter, int link, int mode) override;
    // Every beam below the shot count, in flight or parked, with additive
    // light, in the current pattern's look.
    void drawShots(int link, int extra) override;

    std::int32_t shotCount = 10;
    std::int32_t pattern = 0;               // 0 fan, 1 late; also the look drawn
    std::int32_t cooldown = firstPeriod;    // frames until the next volley
    std::int32_t period = firstPeriod;      // what the cooldown restarts from
    std::int32_t difficultyFlag = 0;        // 0 easy, 1 otherwise
    std::int32_t bossHitPoints = 20;        // copy of Boss's, refreshed on every boss hit
    std::int32_t entranceTimer = 0;         // copy of Boss's, refreshed every frame
    std::int32_t column = 0;                // late spread counters: they run on across
    std::int32_t row = 0;                   // volleys, and the row is never reset
    platform::D3DXMATERIAL* materials = nullptr;  // the materials the draw uses

    GraphicsPart lateLook;  // mesh 1; mesh 0 lives in `graphics`
    SoundBank sounds{"BossBeams"};
};
