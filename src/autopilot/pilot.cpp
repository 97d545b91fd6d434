#include "autopilot/pilot.h"

#include <algorithm>
#include <cmath>

namespace autopilot {

namespace {

// The ship's band and steps, and the reach of its shots.
constexpr double stepX = 0.2, stepY = 0.1;
constexpr double minX = -8, maxX = 8, minY = 2, maxY = 10;
constexpr double shotSpeed = 1.5;
constexpr double shipHalf = 0.5;
// Room kept around shots (their paths are straight) and around bodies (they
// may turn, so the room grows with the time looked ahead).
constexpr double shotMargin = 0.3, bodyMargin = 0.35, bodyMarginGrowth = 0.015;
// A jump larger than this between two frames is a respawn, not motion.
constexpr double jumpLimit = 3.0;
constexpr int never = 1 << 20;

int stepsTo(double from, double to, double step, int sign) {
    // The ship moves while it has not yet passed the edge it heads for.
    if (sign > 0) return from < to ? static_cast<int>(std::ceil((to - from) / step)) : 0;
    return from > to ? static_cast<int>(std::ceil((from - to) / step)) : 0;
}

// The velocity of a slot seen in two frames, or `fallback` when it just
// appeared or jumped.
void velocity(const ViewBox& a, const ViewBox& b, bool hasPrev, double fallbackZ, double& vx, double& vy,
              double& vz) {
    if (hasPrev && b.active && std::fabs(a.x - b.x) < jumpLimit && std::fabs(a.y - b.y) < jumpLimit &&
        std::fabs(a.z - b.z) < jumpLimit) {
        vx = a.x - b.x;
        vy = a.y - b.y;
        vz = a.z - b.z;
    } else {
        vx = vy = 0;
        vz = fallbackZ;
    }
}

}  // namespace

std::uint8_t Pilot::decide(const GameView& now, const GameView& prev, bool hasPrev) {
    if (now.screen == Screen::Play) return play(now, prev, hasPrev);
    return menu(now);
}

std::uint8_t Pilot::menu(const GameView& now) {
    switch (now.screen) {
        case Screen::Title:
            // The cursor first, then confirm once the wanted entry is lit.
            if (now.difficulty < difficulty_) return KeyDown;
            if (now.difficulty > difficulty_) return KeyUp;
            return KeyFire;
        case Screen::Story:
            return KeyFire;  // back to the title
        default:
            return 0;
    }
}

std::uint8_t Pilot::play(const GameView& now, const GameView& prev, bool hasPrev) {
    const ViewBox& ship = now.ship;
    if (!ship.active) return 0;
    shipX_ = ship.x;
    shipY_ = ship.y;
    gatherThreats(now, prev, hasPrev);
    chooseAim(now, prev, hasPrev);
    buildPlans(ship);
    collide(ship, now.invulnerableFrames);

    int best = 0;
    double bestCost = 0;
    int bestSafety = -1;
    for (int p = 0; p < planCount; ++p) {
        const int safety = std::min(firstHit_[p], safeEnough);
        // Frames still needed to reach the aim from where the plan is after 8 steps.
        const int t = std::min(8, plans_[p].stop);
        const double x = shipX_ + plans_[p].sx * stepX * t, y = shipY_ + plans_[p].sy * stepY * t;
        const double cost =
            std::max(std::fabs(aimX_ - x) / stepX, std::fabs(aimY_ - y) / stepY) + 0.01 * plans_[p].stop;
        if (safety > bestSafety || (safety == bestSafety && cost < bestCost)) {
            best = p;
            bestSafety = safety;
            bestCost = cost;
        }
    }

    std::uint8_t keys = 0;
    if (plans_[best].stop > 0) {
        if (plans_[best].sy > 0) keys |= KeyUp;
        if (plans_[best].sy < 0) keys |= KeyDown;
        if (plans_[best].sx > 0) keys |= KeyRight;
        if (plans_[best].sx < 0) keys |= KeyLeft;
    }
    // Missiles for crowds and bosses; the shot key otherwise (the missile
    // key wins over it, so it is held only while a launch can happen).
    const bool launch = !now.missileInFlight && now.missileStock > 0 && (targetsAhead_ >= 4 || bossFight_);
    keys |= launch ? KeyMissile : KeyFire;
    return keys;
}

void Pilot::gatherThreats(const GameView& now, const GameView& prev, bool hasPrev) {
    const double shipZ = now.ship.z;
    moverCount_ = 0;
    auto add = [&](const ViewBox& a, const ViewBox& b, double fallbackZ, bool body) {
        if (!a.active) return;
        Mover m;
        velocity(a, b, hasPrev, fallbackZ, m.vx, m.vy, m.vz);
        // Behind the ship and not coming back: harmless.
        if (a.z + a.hz < shipZ - shipHalf && m.vz <= 0) return;
        const double margin = body ? bodyMargin : shotMargin;
        m.x = a.x; m.y = a.y; m.z = a.z;
        m.hx = a.hx + shipHalf + margin;
        m.hy = a.hy + shipHalf + margin;
        m.hz = a.hz + shipHalf;
        m.body = body;
        movers_[moverCount_++] = m;
    };
    for (int i = 0; i < GameView::enemyShotCount; ++i) add(now.shots[i], prev.shots[i], -1.0, false);
    for (int i = GameView::firstBossBeam; i < GameView::firstRingBeam; ++i)
        add(now.shots[i], prev.shots[i], -0.8, false);
    for (int i = 0; i < GameView::bodyCount; ++i) add(now.bodies[i], prev.bodies[i], -0.2, true);

    // The ring: every beam of it at one depth around one centre.
    Ring& r = ring_;
    r.live = false;
    double sx = 0, sy = 0, z = 0;
    int n = 0;
    for (int i = 0; i < GameView::ringBeamCount; ++i) {
        const ViewBox& b = now.shots[GameView::firstRingBeam + i];
        if (!b.active || b.z < shipZ - 5) continue;
        sx += b.x; sy += b.y; z = b.z;
        ++n;
    }
    if (n == 0) return;
    r.live = true;
    r.cx = sx / n;
    r.cy = sy / n;
    r.z = z;
    r.count = 0;
    const ViewBox& first = now.shots[GameView::firstRingBeam];
    r.hx = first.hx + shipHalf + shotMargin;
    r.hy = first.hy + shipHalf + shotMargin;
    r.hz = first.hz + shipHalf;
    for (int i = 0; i < GameView::ringBeamCount; ++i) {
        const ViewBox& b = now.shots[GameView::firstRingBeam + i];
        if (!b.active || b.z < shipZ - 5) continue;
        r.offX[r.count] = b.x - r.cx;
        r.offY[r.count] = b.y - r.cy;
        ++r.count;
    }
    // Its turn, widening and speed from the last frame when that frame saw
    // the same ring; else the usual ones.
    r.spin = 0.07;
    r.grow = 0.06;
    r.vz = -0.6;
    const ViewBox& a0 = now.shots[GameView::firstRingBeam];
    const ViewBox& b0 = prev.shots[GameView::firstRingBeam];
    if (hasPrev && a0.active && b0.active && std::fabs(a0.z - b0.z) < 2 && a0.z > shipZ - 5) {
        const double ax = a0.x - r.cx, ay = a0.y - r.cy, bx = b0.x - r.cx, by = b0.y - r.cy;
        const double ra = std::hypot(ax, ay), rb = std::hypot(bx, by);
        if (ra > 0.05 && rb > 0.05) {
            double d = std::atan2(ay, ax) - std::atan2(by, bx);
            if (d > M_PI) d -= 2 * M_PI;
            if (d < -M_PI) d += 2 * M_PI;
            r.spin = d;
            r.grow = ra - rb;
        }
        r.vz = a0.z - b0.z;
    }
}

void Pilot::chooseAim(const GameView& now, const GameView& prev, bool hasPrev) {
    const double shipZ = now.ship.z;
    double bestCost = 1e18;
    targetsAhead_ = 0;
    bossFight_ = false;
    aimX_ = 0;
    aimY_ = 4;
    for (int i = 0; i < GameView::bodyCount; ++i) {
        const ViewBox& b = now.bodies[i];
        // Ahead of the ship, within reach of a shot, and in the band (a boss
        // making its entrance hangs far above).
        if (!b.active || b.z < shipZ + 2 || b.z > 110 || b.y > 20) continue;
        const bool boss = i >= GameView::boss2Body;
        if (boss) bossFight_ = true;
        else if (b.z < shipZ + 60) ++targetsAhead_;
        double vx, vy, vz;
        velocity(b, prev.bodies[i], hasPrev, -0.2, vx, vy, vz);
        // Lead: where it will be when a shot leaving now meets it.
        const double t = (b.z - shipZ) / std::max(0.3, shotSpeed - vz);
        const double px = std::clamp(b.x + vx * t, minX, maxX);
        const double py = std::clamp(b.y + vy * t, minY - 0.1, maxY);
        const double reach = std::max(std::fabs(px - shipX_) / stepX, std::fabs(py - shipY_) / stepY);
        const double cost = reach + 0.5 * (b.z - shipZ);
        if (cost < bestCost) {
            bestCost = cost;
            aimX_ = px;
            aimY_ = py;
        }
    }
}

void Pilot::buildPlans(const ViewBox& ship) {
    static constexpr int dirs[8][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    static constexpr int holds[3] = {horizon, 10, 3};
    plans_[0] = {0, 0, 0};
    int p = 1;
    for (const auto& d : dirs) {
        int stop = never;
        if (d[0]) stop = std::min(stop, stepsTo(ship.x, d[0] > 0 ? maxX : minX, stepX, d[0]));
        if (d[1]) stop = std::min(stop, stepsTo(ship.y, d[1] > 0 ? maxY : minY, stepY, d[1]));
        for (int h : holds) plans_[p++] = {d[0], d[1], std::min(stop, h)};
    }
}

void Pilot::testAt(int t, double tx, double ty, double hx, double hy) {
    // Out of the ship's reach in t steps whatever it does.
    if (std::fabs(tx - shipX_) > hx + stepX * t || std::fabs(ty - shipY_) > hy + stepY * t) return;
    for (int p = 0; p < planCount; ++p) {
        if (firstHit_[p] <= t) continue;
        const int s = std::min(t, plans_[p].stop);
        const double x = shipX_ + plans_[p].sx * stepX * s, y = shipY_ + plans_[p].sy * stepY * s;
        if (std::fabs(tx - x) <= hx && std::fabs(ty - y) <= hy) firstHit_[p] = t;
    }
}

void Pilot::collide(const ViewBox& ship, int invulnerable) {
    for (int& h : firstHit_) h = never;
    // Step t of a plan is tested against what the field shows after t - 1
    // more frames; the ship cannot be hit while it glows.
    const int first = std::max(1, invulnerable + 1);
    const double shipZ = ship.z;
    auto window = [&](double z, double vz, double hz, int& lo, int& hi) {
        lo = first;
        hi = horizon;
        if (std::fabs(vz) < 1e-9) {
            if (std::fabs(z - shipZ) > hz) hi = 0;
            return;
        }
        double a = (shipZ - hz - z) / vz, b = (shipZ + hz - z) / vz;
        if (a > b) std::swap(a, b);
        lo = std::max(lo, static_cast<int>(std::ceil(a)) + 1);
        hi = std::min(hi, static_cast<int>(std::floor(b)) + 1);
    };
    for (int i = 0; i < moverCount_; ++i) {
        const Mover& m = movers_[i];
        int lo, hi;
        window(m.z, m.vz, m.hz, lo, hi);
        for (int t = lo; t <= hi; ++t) {
            const double grow = m.body ? bodyMarginGrowth * (t - 1) : 0;
            testAt(t, m.x + m.vx * (t - 1), m.y + m.vy * (t - 1), m.hx + grow, m.hy + grow);
        }
    }
    if (ring_.live) {
        const Ring& r = ring_;
        int lo, hi;
        window(r.z, r.vz, r.hz, lo, hi);
        for (int t = lo; t <= hi; ++t) {
            const double k = t - 1;
            const double c = std::cos(r.spin * k), s = std::sin(r.spin * k);
            const double r0 = std::hypot(r.offX[0], r.offY[0]);
            const double scale = r0 > 1e-6 ? (r0 + r.grow * k) / r0 : 1.0;
            for (int j = 0; j < r.count; ++j) {
                const double ox = (r.offX[j] * c - r.offY[j] * s) * scale;
                const double oy = (r.offX[j] * s + r.offY[j] * c) * scale;
                testAt(t, r.cx + ox, r.cy + oy, r.hx, r.hy);
            }
        }
    }
}

}  // namespace autopilot
