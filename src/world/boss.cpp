#include "world/boss.h"

using namespace platform;

namespace {

// Set once at start-up and carried from game to game.
std::int32_t sweepDirection_ = 1;
std::int32_t sweepDelay_ = 0;
Real vx_ = 0.5;
Real vy_ = 0.2;

// Nothing moves a boss in z, but one that has passed behind the player is out.
constexpr double behindPlayer = -15.0;

void drawAt(GraphicsPart& g, const Placement& p) {
    g.setWorldAt(p.x.toFloat(), p.y.toFloat(), p.z.toFloat());
    g.drawMesh();
}

// The turn at an edge: a new speed along one axis from the speeds along
// both, its sign then set to lead back into the band and its size kept
// between 0.1 and 0.9 (`fallback` otherwise).
Real turned(Real along, Real across, bool atHighEdge, bool atLowEdge, Real fallback) {
    Real v = Real(1) / (tan(tan(across / along) + 1.570796) / across);
    if ((atHighEdge && v > 0.0) || (atLowEdge && v < 0.0)) v = -v;
    if (v > 0.0 && (v < 0.1 || v > 0.9)) v = fallback;
    if (v < 0.0 && (v > -0.1 || v < -0.9)) v = -fallback;
    return v;
}

}  // namespace

std::int32_t bossSweepDirection() { return sweepDirection_; }
std::int32_t bossSweepDelay() { return sweepDelay_; }
Real boss2Vx() { return vx_; }
Real boss2Vy() { return vy_; }

void Boss::reset(int w) {
    setPosition(0, 0.0, 5.0, 50.0, 0, 5000);
    setHalfExtents(0, 3.0, 3.0, 5.0);
    placements[0].extra = 0;
    appeared = 0;
    hitPoints = w == 0 ? 20 : 50;
    entranceTimer = 0;
}

void Boss::update(int, int, Placement) {
    if (entranceTimer == 0) {
        Placement& p = placements[0];
        if (inPlayBand(p)) {
            if (hitPoints >= 12) {
                // The sine path, after a pause the first time round.
                ++sweepDelay_;
                if (sweepDelay_ >= 100) {
                    p.x = sweepDirection_ > 0 ? p.x + 0.1 : p.x - 0.1;
                    p.y = sin(p.x) + 5.0;
                }
            } else {
                // Nearly beaten: twice as fast, straight across.
                p.x = sweepDirection_ > 0 ? p.x + 0.2 : p.x - 0.2;
            }
            if (p.x >= 7.5) sweepDirection_ = -1;
            if (p.x <= -7.5) sweepDirection_ = 1;
        }
        if (p.z < behindPlayer) p.active = 0;
    }
    if (entranceTimer > 0) --entranceTimer;
}

void Boss::drawSlot(int i) { drawAt(graphics, placements[i]); }

void Boss2::reset(int) {
    setPosition(0, 0.0, 7.0, 50.0, 0, 4500);
    setHalfExtents(0, 3.0, 3.0, 5.0);
    placements[0].extra = 0;
    appeared = 0;
    hitPoints = 20;
}

void Boss2::update(int, int, Placement) {
    Placement& p = placements[0];
    p.x += vx_;
    p.y += vy_;
    if (p.x >= 8.0 || p.x <= -8.0) vx_ = turned(vx_, vy_, p.x >= 8.0, p.x <= -8.0, 0.5);
    if (p.y >= 10.0 || p.y <= 2.0) vy_ = turned(vy_, vx_, p.y >= 10.0, p.y <= 2.0, 0.3);
    if (inPlayBand(p) && p.z < behindPlayer) p.active = 0;
}

void Boss2::drawSlot(int i) { drawAt(graphics, placements[i]); }
