// PatrolGroup: a single unit that dashes in, then runs round the border of
// the play band at a fixed depth ahead of the player and now and then dives
// straight across it when it passes the player's x.
#pragma once

#include <cstdint>

#include "enemies/enemy_group.h"

class PatrolGroup : public EnemyGroup {
public:
    PatrolGroup();

    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    bool dashingIn() const { return entrance_ != 0; }

private:
    void takeLeg(int leg);

    std::int32_t entrance_ = 0;  // 1 while the unit dashes in
    std::int32_t leg_ = 0;       // 0 to 3: the leg velocity last taken
    Real vx_, vy_;
};
