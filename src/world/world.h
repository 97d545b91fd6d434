// World: owns everything in the field of play except the player's own ship,
// shots and missile; decides when waves and bosses enter, fires their shots,
// and scores what the player's weapons destroy.
#pragma once

#include <cstdint>

#include "enemies/enemy_shots.h"
#include "player/score_board.h"
#include "platform/gfx/d3dx9.h"
#include "platform/os.h"
#include "world/beams.h"
#include "world/boss.h"
#include "world/placement.h"

class World {
public:
    World() = default;

    // Start-up (once): hand out the device, window and sprite, then load.
    void attachAll(platform::IDirect3DDevice9* device, platform::HWND window, platform::ID3DXSprite* sprite);
    void loadAll();
    // A game starts (difficulty 0 easy, 1 normal, 2 hard).
    void reset(int difficulty);
    void setDifficulty(int d);

    // Main loop, every playing frame.
    void setInput(std::int32_t action);
    void checkShots(Placement* shots, std::uint8_t playerActive);  // three shots
    void checkMissile(Placement* missile, std::uint8_t* inFlight);
    void setPlayer(Placement player);

    // Display frame render, every playing frame.
    void drawHud();
    void frame();

    EnemyShots enemyShots;
    ScoreBoard scoreBoard;
    Boss boss;
    Boss2 boss2;
    BossBeams bossBeams;
    SpiralBeams spiralBeams;
};
