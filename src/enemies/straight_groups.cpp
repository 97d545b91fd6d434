#include "enemies/straight_groups.h"

// ---- HomingGroup

HomingGroup::HomingGroup() : EnemyGroup(Units, {2500, 1900, 2500, 3300}, "x\\teki08.x", "Enemy6ロスト") {}

void HomingGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) placeUnit(i, Real(4) * Real(i) - Real(7), 6.0, 100.0, wave, 1.0, 1.0, 2.0);
    resetDone();
}

void HomingGroup::update(int /*action*/, int /*reserved*/, Placement player) {
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        const Real dx = player.x - p.x;
        const Real dy = player.y - p.y;
        const Real dz = player.z - p.z + Real(5);
        const Real length = sqrt(dx * dx + dy * dy + dz * dz);
        // At the aim point itself there is no direction to steer in (the
        // division would make the unit's position NaN): hold x and y.
        if (length != 0.0) {
            p.x = p.x + Real(0.4) * dx / length;
            p.y = p.y + Real(0.4) * dy / length;
        }
        p.z = p.z - Real(0.4);
        tail(i);
    }
}

// ---- CrossGroup

CrossGroup::CrossGroup() : EnemyGroup(Units, {2800, 1200, 2200, 2900}, "x\\teki09.x", "Enemy7ロスト") {}

void CrossGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) {
        placeUnit(i, Real(3) * Real(i) - Real(6), 6.0, 100.0, wave, 1.0, 1.0, 2.0);
        vx_[i] = 0.4;
        vy_[i] = 0.0;
    }
    resetDone();
    pending_[0] = 2;
    pending_[1] = 4;
    pendingCount_ = 2;
}

void CrossGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        if (pendingCount_ > 0) {
            for (int k = 0; k < pendingCount_; ++k) {
                const int unit = pending_[k] - 1;  // unit numbers count from 1
                vx_[unit] = 0.0;
                vy_[unit] = 0.4;
            }
            pendingCount_ = 0;
        }
        Placement& p = placements[i];
        p.x = p.x + vx_[i];
        p.y = p.y + vy_[i];
        p.z = p.z - Real(0.1);
        if (p.x >= 7.0) vx_[i] = -vx_[i];
        if (p.x <= -7.0) vx_[i] = -vx_[i];
        if (p.y >= 9.5) vy_[i] = -vy_[i];
        if (p.y <= 2.5) vy_[i] = -vy_[i];
        tail(i);
    }
}

// ---- LineGroup and ArchGroup

LineGroup::LineGroup() : LineGroup("enemy11ロスト", {200, 300, 1300, 2200, 4400}) {}

LineGroup::LineGroup(const char* failureText, std::initializer_list<std::int32_t> cues)
    : EnemyGroup(Units, cues, "x\\teki03.x", failureText) {}

void LineGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) placeUnit(i, Real(4) * Real(i) - Real(6), 4.0, 100.0, wave, 2.0, 2.0, 2.0);
    resetDone();
}

void LineGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        placements[i].z = placements[i].z - Real(0.2);
        tail(i);
    }
}

ArchGroup::ArchGroup() : LineGroup("enemy12ロスト", {400, 200, 1200, 3000}) {}

void ArchGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) {
        const Real y = (i == 0 || i == 3) ? 1.0 : 4.0;
        placeUnit(i, Real(4) * Real(i) - Real(5), y, 100.0, wave, 2.0, 2.0, 2.0);
    }
    resetDone();
}
