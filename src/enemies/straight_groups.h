// The enemy groups that fly at the player's depth along straight lines:
// the homing units, the crossing sweepers, and the plain line and arch
// formations. Each finishes one unit (movement and tail) before the next.
#pragma once

#include <cstdint>

#include "enemies/enemy_group.h"

// Three units that steer towards a point 5 in front of the ship.
class HomingGroup : public EnemyGroup {
public:
    static constexpr int Units = 3;
    HomingGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;
};

// Five units: three sweep from side to side and two (units 2 and 4
// counted from 1) up and down, each turning at the band's edges.
class CrossGroup : public EnemyGroup {
public:
    static constexpr int Units = 5;
    CrossGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real vx(int i) const { return vx_[i]; }
    Real vy(int i) const { return vy_[i]; }
    int pendingCount() const { return pendingCount_; }

private:
    Real vx_[Units] = {}, vy_[Units] = {};
    // Unit numbers (from 1) turned to the vertical sweep on the first
    // update after a reset.
    int pending_[2] = {};
    int pendingCount_ = 0;
};

// Four units in a row that fly straight in at twice the usual speed.
class LineGroup : public EnemyGroup {
public:
    static constexpr int Units = 4;
    LineGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

protected:
    LineGroup(const char* failureText, std::initializer_list<std::int32_t> cues);
};

// As the line, with the outer units low (at y = 1, below the band).
class ArchGroup : public LineGroup {
public:
    ArchGroup();
    void reset(int wave) override;
};
