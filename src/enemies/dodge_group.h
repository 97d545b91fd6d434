// DodgeGroup: two units that fly straight at the player's depth and jink
// sideways, alternately along x and y, whenever the ship is lined up with
// them; a jink that would leave the play band turns back at its edge.
#pragma once

#include <cstdint>

#include "enemies/enemy_group.h"

class DodgeGroup : public EnemyGroup {
public:
    static constexpr int Units = 2;
    enum class Axis : std::uint8_t { None, X, Y };

    DodgeGroup();

    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    // Movement state, readable for the trace and the tests.
    std::int32_t dodgeTimer(int i) const { return dodgeTimer_[i]; }
    Real direction(int i) const { return direction_[i]; }
    Axis axis(int i) const { return axis_[i]; }
    std::int32_t stepCount() const { return stepCount_; }

    // Frames in one dodge cycle, and the steps the units share in one dodge.
    static constexpr std::int32_t DodgeFrames = 30;
    static constexpr std::int32_t MaxSteps = 10;

private:
    // The unit's coordinate that its current axis moves (nullptr for none).
    Real* axisCoordinate(int i);

    std::int32_t dodgeTimer_[Units] = {};
    Real direction_[Units] = {-1.0, -1.0};  // sign of the sideways step
    Axis axis_[Units] = {Axis::None, Axis::None};
    std::int32_t stepCount_ = 0;            // shared by both units
};
