// Pilot: decides the keys to hold for one frame from what is on screen now
// and one frame earlier. On the title it picks the wanted difficulty and
// starts; in play it keeps the ship clear of shots, beams and bodies over
// the next frames and otherwise lines up with a target and fires.
#pragma once

#include <cstdint>

#include "autopilot/game_view.h"

namespace autopilot {

// Keys held for a frame, as bits.
enum Key : std::uint8_t {
    KeyUp = 1, KeyDown = 2, KeyLeft = 4, KeyRight = 8, KeyFire = 16, KeyMissile = 32,
};

class Pilot {
public:
    static constexpr int horizon = 48;     // frames looked ahead
    static constexpr int safeEnough = 36;  // a collision further off than this is not weighed

    explicit Pilot(int difficulty) : difficulty_(difficulty) {}

    // `prev` is the view of the frame before; `hasPrev` false on the first.
    std::uint8_t decide(const GameView& now, const GameView& prev, bool hasPrev);

    // For tests and the cost probe: the aim point of the last play decision.
    double aimX() const { return aimX_; }
    double aimY() const { return aimY_; }

private:
    struct Mover {  // a threat moving in a straight line from step 0
        double x, y, z, vx, vy, vz, hx, hy, hz;
        bool body;  // may turn: more room the further ahead
    };
    struct Ring {   // Boss2's ring: beams turning and widening about a centre
        bool live = false;
        double cx, cy, z, vz, spin, grow, hx, hy, hz;
        int count;
        double offX[GameView::ringBeamCount], offY[GameView::ringBeamCount];
    };
    static constexpr int planCount = 25;
    struct Plan {
        int sx, sy;  // -1, 0, +1 on each axis
        int stop;    // steps after which the ship stands still
    };

    std::uint8_t menu(const GameView& now);
    std::uint8_t play(const GameView& now, const GameView& prev, bool hasPrev);
    void gatherThreats(const GameView& now, const GameView& prev, bool hasPrev);
    void chooseAim(const GameView& now, const GameView& prev, bool hasPrev);
    void buildPlans(const ViewBox& ship);
    void collide(const ViewBox& ship, int invulnerable);
    void testAt(int t, double tx, double ty, double hx, double hy);

    int difficulty_;
    Mover movers_[GameView::shotCount + GameView::bodyCount];
    int moverCount_ = 0;
    Ring ring_;
    Plan plans_[planCount];
    int firstHit_[planCount];
    double shipX_ = 0, shipY_ = 0;
    double aimX_ = 0, aimY_ = 5;
    int targetsAhead_ = 0;
    bool bossFight_ = false;
};

}  // namespace autopilot
