#include "enemies/dodge_group.h"

#include "platform/crt.h"
#include "platform/os.h"

DodgeGroup::DodgeGroup() : EnemyGroup(Units, {600, 200, 1200, 2800}, "x\\teki04.x", "enemy1ロスト") {}

void DodgeGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) {
        placeUnit(i, Real(3) * Real(i) - Real(5), 5.0, 100.0, wave, 1.0, 1.0, 2.0);
        dodgeTimer_[i] = 0;
        direction_[i] = -1.0;
        // The axis and the shared step count carry over: the next dodge
        // still alternates from the last one.
    }
    resetDone();
}

Real* DodgeGroup::axisCoordinate(int i) {
    switch (axis_[i]) {
        case Axis::X: return &placements[i].x;
        case Axis::Y: return &placements[i].y;
        case Axis::None: break;
    }
    return nullptr;
}

void DodgeGroup::update(int /*action*/, int /*reserved*/, Placement player) {
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        if (dodgeTimer_[i] > 0) {
            if (dodgeTimer_[i] == DodgeFrames) {
                // First frame of a dodge: the other axis (x the first time),
                // and a side drawn from a generator seeded with the clock, so
                // dodges that start in the same second go the same way.
                axis_[i] = axis_[i] == Axis::X ? Axis::Y : Axis::X;
                direction_[i] = -1.0;
                platform::srand(static_cast<std::uint32_t>(platform::time()));
                if (platform::rand() % 2 == 1) direction_[i] = 1.0;
                stepCount_ = 0;
            }
            if (stepCount_ < MaxSteps) {
                Real* c = axisCoordinate(i);
                *c = *c + direction_[i] / Real(3);
                ++stepCount_;
            }
            --dodgeTimer_[i];
        } else if (p.x - Real(2) < player.x && player.x < p.x + Real(2) && p.y - Real(2) < player.y &&
                   player.y < p.y + Real(2)) {
            dodgeTimer_[i] = DodgeFrames;  // the dodge starts next frame
        }
        p.z = p.z - Real(0.01);
        if (!inPlayBand(p)) {
            // Undo the last step and take one the other way: a bounce off the edge.
            if (Real* c = axisCoordinate(i)) *c = *c - Real(2) * direction_[i] / Real(3);
        }
        tail(i);
    }
}
