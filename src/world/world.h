// World: owns everything in the field of play except the player's own ship,
// shots and missile; decides when waves and bosses enter, fires their shots,
// and scores what the player's weapons destroy.
#pragma once

#include <cstdint>

#include "audio/sound_bank.h"
#include "enemies/enemy_groups.h"
#include "enemies/enemy_shots.h"
#include "platform/gfx/d3dx9.h"
#include "platform/os.h"
#include "player/gauge.h"
#include "player/radar.h"
#include "player/score_board.h"
#include "world/background.h"
#include "world/beams.h"
#include "world/boss.h"
#include "world/effect.h"
#include "world/hit_tester.h"
#include "world/placement.h"
#include "world/update_relay.h"

class World {
public:
    static constexpr int groupCount = 12;
    static constexpr int enemySlots = 57;  // the units of all twelve groups

    World();

    // Start-up (once): hand out the device, window and sprite, then load.
    void attachAll(platform::IDirect3DDevice9* device, platform::HWND window, platform::ID3DXSprite* sprite);
    void loadAll();
    // A game starts (difficulty 0 easy, 1 normal, 2 hard).
    void reset(int difficulty);
    void setDifficulty(int d) { difficulty = d; }

    // Main loop, every playing frame.
    void setInput(std::int32_t action) { relay.setInput(action); }
    void checkShots(Placement* shots, std::uint8_t playerActive);  // three shots
    void checkMissile(Placement* missile, std::uint8_t* inFlight);
    void setPlayer(Placement player) { playerHud = player; }

    // Display frame render, every playing frame.
    void drawHud();
    void frame();

    // Practice: every game starts with the stage clock at this tick.
    void setStartTick(std::int32_t tick) { startTick_ = tick; }

    // The enemy groups in schedule order.
    EnemyGroup& group(int k) { return *groups_[k]; }
    const EnemyGroup& group(int k) const { return *groups_[k]; }

    // Members, in construction order.
    UpdateRelay relay;
    Gauge clock;  // the StageClock: only its tick is used
    DodgeGroup enemy1;
    RingGroup enemy2;
    BounceGroup enemy3;
    WarpGroup enemy4;
    WeaveGroup enemy5;
    HomingGroup enemy6;
    CrossGroup enemy7;
    PatrolGroup enemy8;
    LissajousGroup enemy9;
    RoseGroup enemy10;
    LineGroup enemy11;
    ArchGroup enemy12;
    Background background;
    EnemyShots enemyShots;
    HitTester hitTester;
    Effect shotBlast{"t\\effect.png"};
    Effect missileBlast{"t\\effect2.png"};
    Radar radar;
    ScoreBoard scoreBoard;
    Boss boss;
    Boss2 boss2;
    BossBeams bossBeams;
    SpiralBeams spiralBeams;
    SoundBank sounds{"World"};

    platform::IDirect3DDevice9* device = nullptr;
    std::int32_t lastCue[14] = {};  // per schedule index: the cue of the wave last brought into play
    std::int32_t difficulty = 0;
    std::uint8_t allClear = 1;      // scratch of rearmGroup
    std::int32_t missileHits = 0;   // missile kills since the count last reached 10; never reset
    std::int32_t inactiveSeen = 0;  // inactive enemy slots met in the current hitScan
    Placement probe[3];             // the player's shots (or missile) under test
    Placement playerHud;            // the ship as setPlayer stored it

private:
    void schedule();
    void spawnDue(int n, FieldObject& object, int k, FieldObject& shots);
    void rearmGroup(EnemyGroup& group, int n, int w);
    std::uint8_t hitScan(int p, int kind);
    std::uint8_t testGroup(EnemyGroup& group, int n, int p, int kind);
    std::uint8_t testBoss(FieldObject& boss, std::int32_t& hitPoints, int p, int kind);
    void restartSound(int entry);

    EnemyGroup* groups_[groupCount];
    std::int32_t startTick_ = 0;
};
