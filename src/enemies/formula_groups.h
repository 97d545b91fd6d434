// The enemy groups whose units follow a closed curve driven by a phase
// angle: the ring, the bouncers, the weave, the Lissajous figure and the
// rose. Each moves every unit first and then runs the tail for all of them,
// except the bouncers, which finish one unit before the next.
#pragma once

#include <cstdint>

#include "enemies/enemy_group.h"

// Six units on an ellipse about (0, 6) whose radius pulses between 0 and 8;
// the radius carries over from one game to the next.
class RingGroup : public EnemyGroup {
public:
    static constexpr int Units = 6;
    RingGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real angle(int i) const { return angle_[i]; }
    Real radius() const { return r_; }
    Real radiusRate() const { return dr_; }
    Real angularSpeed() const { return w_; }
    Real angularAcceleration() const { return dw_; }

private:
    Real angle_[Units] = {};
    Real cx_ = 0.0, cy_ = 6.0, r_ = 8.0;  // set once, at construction
    Real dr_ = 0.0, w_ = 0.0, dw_ = 0.0;
};

// Three units that drift diagonally and bounce inside x ±7.9, y 2.05 to 9.9.
class BounceGroup : public EnemyGroup {
public:
    static constexpr int Units = 3;
    BounceGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real vx(int i) const { return vx_[i]; }
    Real vy(int i) const { return vy_[i]; }

private:
    Real vx_[Units] = {}, vy_[Units] = {};
    bool firstFrame_ = true;  // the velocities are set on the first update
};

// Four units swinging from side to side in x; they close in fastest at the
// ends of the swing. Units 2 and 3 keep their angles from wave to wave.
class WeaveGroup : public EnemyGroup {
public:
    static constexpr int Units = 4;
    WeaveGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real angle(int i) const { return angle_[i]; }

private:
    Real angle_[Units] = {1.57, -1.57, 1.57, -1.57};
    Real cx_ = 0.0, amplitude_ = 8.0;
};

// Ten units strung along a Lissajous figure (x twice as fast as y); units 0
// and 1 share a phase and fly as one.
class LissajousGroup : public EnemyGroup {
public:
    static constexpr int Units = 10;
    static constexpr double Spacing = -0.10466666666666669;
    // Unit i's starting phase (i from 1; unit 0 starts at Spacing too).
    static constexpr double phaseAt(int i) { return i * Spacing; }
    LissajousGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real phase(int i) const { return phase_[i]; }

private:
    void setPhases();

    Real phase_[Units] = {};
    Real cx_ = 0.0, cy_ = 0.0, radius_ = 0.0, rate_ = 0.0, yFrequency_ = 0.0, xFrequency_ = 0.0;
};

// Fourteen units strung along an eight-petal rose, squashed by half in y.
class RoseGroup : public EnemyGroup {
public:
    static constexpr int Units = 14;
    static constexpr double Spacing = -0.06977777777777779;
    static constexpr double phaseAt(int i) { return i * Spacing; }
    RoseGroup();
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;

    Real phase(int i) const { return phase_[i]; }

private:
    void setPhases();

    Real phase_[Units] = {};
    Real cx_ = 0.0, cy_ = 0.0, radius_ = 0.0, rate_ = 0.0, petals_ = 0.0;
};
