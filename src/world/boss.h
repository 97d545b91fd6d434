// Boss and Boss2: the two bosses that close the stage. Boss2 enters first and
// bounces around the play band; Boss drops in, hangs, then sweeps from side
// to side, and its hit points reaching 0 ends the stage.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Boss : public FieldObject {
public:
    Boss() : FieldObject(1) { reset(0); }
    ~Boss() override { graphics.releaseMesh(); }

    // w: 0 on easy, 1 otherwise. Back at the far end, out of play; the sweep
    // state shared by every game is left as it is.
    void reset(int w) override;
    bool load() { return graphics.loadMesh("x\\boss.x", "Bossロスト"); }
    // Hangs while the entrance timer runs, then sweeps; counts the timer down.
    void update(int action, int reserved, Placement player) override;
    void drawSlot(int i) override;

    // Constructed as a reset on easy leaves it: the World is not reset
    // before the first title, whose clear trigger reads these hit points.
    std::int32_t hitPoints = 20;
    std::int32_t entranceTimer = 0;  // 940 on entering, counts down; no input is read while above 0
};

class Boss2 : public FieldObject {
public:
    Boss2() : FieldObject(1) { reset(0); }
    ~Boss2() override { graphics.releaseMesh(); }

    void reset(int w) override;
    bool load() { return graphics.loadMesh("x\\boss2.x", "Boss2ロスト"); }
    // Moves by its velocities and turns them at the edges of the band.
    void update(int action, int reserved, Placement player) override;
    void drawSlot(int i) override;

    std::int32_t hitPoints = 20;  // as its reset leaves it
};

// Movement state shared by every game of the run (never reset).
// Boss's sweep: +1 towards +x, -1 towards -x; starts towards +x.
std::int32_t bossSweepDirection();
// In-band frames Boss has spent with 12 or more hit points; it sweeps once
// this reaches 100, so only the run's first game waits.
std::int32_t bossSweepDelay();
// Boss2's velocities in world units a frame (0.5 and 0.2 at start-up).
Real boss2Vx();
Real boss2Vy();
