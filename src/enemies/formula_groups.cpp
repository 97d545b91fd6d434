#include "enemies/formula_groups.h"

#include <cmath>
#include <cstdlib>

// ---- RingGroup

RingGroup::RingGroup() : EnemyGroup(Units, {900, 1200, 2000, 2800}, "x\\teki3.x", "enemy2ロスト") {}

void RingGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) {
        placeUnit(i, -5.0, 4.0, Real(90) + Real(6) * Real(i), wave, 1.0, 1.0, 2.0);
        angle_[i] = Real(i);
    }
    resetDone();
    // The radius r is left as the last game left it.
    dr_ = 0.01;
    w_ = 0.05;
    dw_ = 0.0002;
}

void RingGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        // The shared radius and speeds move once per unit, six times a frame.
        angle_[i] = angle_[i] + w_;
        r_ = r_ - dr_;
        w_ = w_ + dw_;
        if (r_ < 0.0 || r_ > 8.0) {
            dr_ = -dr_;
            dw_ = -dw_;
        }
        Placement& p = placements[i];
        p.y = sin(angle_[i]) * r_ / Real(2) + cy_;
        p.x = cos(angle_[i]) * r_ + cx_;
    }
    for (int i = 0; i < Units; ++i) tail(i);
}

// ---- BounceGroup

BounceGroup::BounceGroup() : EnemyGroup(Units, {1200, 1400, 2200, 3000}, "x\\teki06.x", "enemy3ロスト") {}

void BounceGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) placeUnit(i, Real(2) * Real(i) - Real(5), 6.0, 100.0, wave, 1.0, 1.0, 2.0);
    resetDone();
    firstFrame_ = true;
}

void BounceGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    if (firstFrame_) {
        for (int i = 0; i < Units; ++i) {
            vx_[i] = 0.05;
            vy_[i] = -0.1;
        }
        firstFrame_ = false;
    }
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        if (p.x > 7.9) vx_[i] = -0.05;
        else if (p.x < -7.9) vx_[i] = 0.05;
        if (p.y > 9.9) vy_[i] = -0.1;
        else if (p.y < 2.05) vy_[i] = 0.1;
        p.x = p.x + vx_[i];
        p.y = p.y + vy_[i];
        tail(i);
    }
}

// ---- WeaveGroup

WeaveGroup::WeaveGroup() : EnemyGroup(Units, {2100, 1400, 2500, 4000}, "x\\teki06.x", "enemy5ロスト") {}

void WeaveGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) {
        const Real y = i < 2 ? 4.0 : 8.0;
        placeUnit(i, -5.0, y, Real(90) + Real(6) * Real(i), wave, 1.0, 1.0, 2.0);
    }
    resetDone();
    // Only the first two angles restart; units 2 and 3 go on from where
    // their last wave left them.
    angle_[0] = 1.57;
    angle_[1] = -1.57;
}

void WeaveGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        angle_[i] = angle_[i] + Real(0.05);
        p.x = sin(angle_[i]) * amplitude_ * Real(2) / Real(3) + cx_;
        // Whole units of closing speed at the ends of the swing.
        const int n = static_cast<int>((cos(angle_[i]) * amplitude_ / Real(8)).value());
        p.z = p.z - (Real(std::abs(n)) + Real(0.1));
    }
    for (int i = 0; i < Units; ++i) tail(i);
}

// ---- LissajousGroup

LissajousGroup::LissajousGroup()
    : EnemyGroup(Units, {1500, 700, 1500, 2400, 4400}, "x\\teki3.x", "enemy9ロスト") {
    setPhases();
}

void LissajousGroup::setPhases() {
    // The phases are constants of the formation, worked out in full
    // precision as the centre is: phase 0 equals phase 1, so units 0 and 1
    // fly as one.
    phase_[0] = Spacing;
    for (int i = 1; i < Units; ++i) phase_[i] = phaseAt(i);
    cx_ = -1.0466666666666669;  // ten spacings
    cy_ = 6.0;
    radius_ = 8.0;
    rate_ = 0.05;
    yFrequency_ = 0.5;
    xFrequency_ = 2.0;
}

void LissajousGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) placeUnit(i, -5.0, 4.0, Real(90) + Real(6) * Real(i), wave, 1.0, 1.0, 2.0);
    resetDone();
    setPhases();
}

void LissajousGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        phase_[i] = phase_[i] + rate_;
        p.y = sin(phase_[i] * yFrequency_) * radius_ / Real(2) + cy_;
        p.x = cos(phase_[i] * xFrequency_) * radius_ + cx_;
    }
    for (int i = 0; i < Units; ++i) tail(i);
}

// ---- RoseGroup

RoseGroup::RoseGroup() : EnemyGroup(Units, {3500, 600, 1600, 3000, 4400}, "x\\teki06.x", "enemy10ロスト") {
    setPhases();
}

void RoseGroup::setPhases() {
    phase_[0] = Spacing;
    for (int i = 1; i < Units; ++i) phase_[i] = phaseAt(i);  // full precision, as above
    cx_ = -0.976888888888889;  // fourteen spacings
    cy_ = 6.0;
    radius_ = 8.0;
    rate_ = 0.03;
    petals_ = 4.0;
}

void RoseGroup::reset(int wave) {
    for (int i = 0; i < Units; ++i) placeUnit(i, -5.0, 4.0, Real(90) + Real(6) * Real(i), wave, 2.0, 2.0, 2.0);
    resetDone();
    setPhases();
}

void RoseGroup::update(int /*action*/, int /*reserved*/, Placement /*player*/) {
    for (int i = 0; i < Units; ++i) {
        Placement& p = placements[i];
        phase_[i] = phase_[i] + rate_;
        const Real petal = sin(petals_ * phase_[i]);
        p.y = sin(phase_[i]) * petal * radius_ / Real(2) + cy_;
        p.x = cos(phase_[i]) * petal * radius_ + cx_;
    }
    for (int i = 0; i < Units; ++i) tail(i);
}
