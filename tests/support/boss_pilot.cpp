#include "support/boss_pilot.h"

#include <algorithm>
#include <cmath>
#include <limits>

using testing_json::Value;
using Point = BossPilot::Point;

namespace {

// The ship's reach and the boxes that meet (half extents added together:
// ship 0.5, beams 2 x 1 x 2, player shots 1, bosses 3 x 3 x 5), each with a
// little room to spare.
constexpr double stepX = 0.2, stepY = 0.1;
constexpr double shipZ = -7;
constexpr double beamReachX = 2.5 + 0.3, beamReachY = 1.5 + 0.15, beamReachZ = 2.5 + 0.3;
constexpr double shotReachX = 4 - 0.4, shotReachY = 4 - 0.3;
// A shot that leaves in the next frame is level with a boss at z 50 from 35
// to 43 frames after the frame seen.
constexpr int shotFirst = 35, shotLast = 43;
// How far from the aim a spot still counts as under the boss.
constexpr double slackX = 3.0, slackY = 2.0;

// Where the boss in play will be `frames` frames after the frame seen, moved
// as the bosses move; false when no boss can be shot at.
bool bossAhead(const Value& world, int frames, Point& at) {
    const Value& boss2 = world["boss2"];
    if (boss2["active"].integer() == 1) {
        double x = boss2["x"].num(), y = boss2["y"].num();
        double vx = boss2["vx"].num(), vy = boss2["vy"].num();
        for (int k = 0; k < frames; ++k) {
            x += vx;
            y += vy;
            if (x >= 8 || x <= -8) {
                vx = 1 / (std::tan(std::tan(vy / vx) + 1.570796) / vy);
                if ((x >= 8 && vx > 0) || (x <= -8 && vx < 0)) vx = -vx;
                if (vx > 0 && (vx < 0.1 || vx > 0.9)) vx = 0.5;
                if (vx < 0 && (vx > -0.1 || vx < -0.9)) vx = -0.5;
            }
            if (y >= 10 || y <= 2) {
                vy = 1 / (std::tan(std::tan(vx / vy) + 1.570796) / vx);
                if ((y >= 10 && vy > 0) || (y <= 2 && vy < 0)) vy = -vy;
                if (vy > 0 && (vy < 0.1 || vy > 0.9)) vy = 0.3;
                if (vy < 0 && (vy > -0.1 || vy < -0.9)) vy = -0.3;
            }
        }
        at = {x, y};
        return true;
    }
    const Value& boss = world["boss"];
    if (boss["active"].integer() != 1 || boss["entranceTimer"].integer() != 0) return false;
    double x = boss["x"].num(), y = boss["y"].num();
    const long long hp = boss["hp"].integer();
    long long direction = boss["sweepDirection"].integer(), delay = boss["sweepDelay"].integer();
    for (int k = 0; k < frames; ++k) {
        if (hp >= 12) {
            if (++delay < 100) continue;
            x += 0.1 * static_cast<double>(direction);
            y = std::sin(x) + 5;
        } else {
            x += 0.2 * static_cast<double>(direction);
        }
        if (x >= 7.5) direction = -1;
        if (x <= -7.5) direction = 1;
    }
    at = {x, y};
    return true;
}

// Frames of steady steps that cover `distance` to within half a step.
int stepsFor(double distance, double step) {
    return distance > step / 2 ? static_cast<int>(std::ceil((distance - step / 2) / step - 1e-9)) : 0;
}

// Where the ship is `frames` frames from `from` on its way to `to`.
Point along(Point from, Point to, int frames) {
    auto axis = [frames](double a, double b, double step) {
        const int steps = std::min(frames, stepsFor(std::fabs(b - a), step));
        return a + (b > a ? step : -step) * steps;
    };
    return {axis(from.x, to.x, stepX), axis(from.y, to.y, stepY)};
}

std::string keysTowards(Point ship, Point goal) {
    std::string keys;
    auto add = [&keys](const char* key) { keys += keys.empty() ? key : std::string(" ") + key; };
    if (goal.y - ship.y > stepY / 2) add("up");
    if (ship.y - goal.y > stepY / 2) add("down");
    if (goal.x - ship.x > stepX / 2) add("right");
    if (ship.x - goal.x > stepX / 2) add("left");
    return keys;
}

// The frames in which a beam moving from z by dz a frame (dz < 0) is level
// with the ship.
bool levelFrames(double z, double dz, int& first, int& last) {
    if (dz >= 0) return false;
    first = std::max(0, static_cast<int>(std::ceil((z - (shipZ + beamReachZ)) / -dz)));
    last = static_cast<int>(std::floor((z - (shipZ - beamReachZ)) / -dz));
    return last >= first;
}

}  // namespace

void BossPilot::gatherThreats(const Value& world) {
    threats_.clear();
    if (!world.has("bossBeams")) return;
    const Value& fans = world["bossBeams"]["slots"];
    for (std::size_t i = 0; i < lastFans_.size(); ++i) {
        const Value& s = fans[i];
        const Slot now{s["x"].num(), s["y"].num(), s["z"].num(), s["active"].integer() == 1};
        const Slot before = lastFans_[i];
        lastFans_[i] = now;
        // A beam moves in a straight line: its last step is its next.
        if (!now.active || !before.active || now.z < shipZ - beamReachZ) continue;
        const double dx = now.x - before.x, dy = now.y - before.y, dz = now.z - before.z;
        int first = 0, last = 0;
        if (!levelFrames(now.z, dz, first, last)) continue;
        for (int n = first; n <= last; ++n) threats_.push_back({n, now.x + dx * n, now.y + dy * n});
    }
    // The rings widen by 0.06 and turn by 0.07 radians a frame about their
    // centre while they come 0.6 nearer.
    const Value& rings = world["spiralBeams"];
    const double cx = rings["centre"][0].num(), cy = rings["centre"][1].num();
    for (const Value& s : rings["slots"].items) {
        if (s["active"].integer() != 1 || s["z"].num() < shipZ - beamReachZ) continue;
        int first = 0, last = 0;
        if (!levelFrames(s["z"].num(), -0.6, first, last)) continue;
        const double r = std::hypot(s["x"].num() - cx, s["y"].num() - cy);
        const double a = std::atan2(s["y"].num() - cy, s["x"].num() - cx);
        for (int n = first; n <= last; ++n)
            threats_.push_back({n, cx + std::cos(a + 0.07 * n) * (r + 0.06 * n),
                                cy + std::sin(a + 0.07 * n) * (r + 0.06 * n)});
    }
}

// The spot to make for: out of every beam's way on the way there and there,
// and then as near the aim as can be.
Point BossPilot::choose(Point ship, Point aim, int invulnerable) const {
    struct Spot {
        double cost;
        Point at;
    };
    std::vector<Spot> spots;
    for (double x = -7.8; x <= 7.81; x += 0.4)
        for (double y = 2.2; y <= 9.81; y += 0.4)
            spots.push_back({std::max(0.0, std::fabs(x - aim.x) - slackX) +
                                 0.3 * std::max(0.0, std::fabs(y - aim.y) - slackY) +
                                 0.05 * std::hypot(x - goal_.x, y - goal_.y),
                             {x, y}});
    const auto nearer = [](const Spot& a, const Spot& b) { return a.cost < b.cost; };
    if (threats_.empty()) return std::min_element(spots.begin(), spots.end(), nearer)->at;
    std::sort(spots.begin(), spots.end(), nearer);
    // The nearest spot that no beam meets; failing that, the one fewest meet.
    Point best = spots.front().at;
    int fewest = std::numeric_limits<int>::max();
    for (const Spot& spot : spots) {
        int hits = 0;
        for (const Threat& t : threats_) {
            // The beam after frame n meets the ship after frame n + 1's steering.
            if (t.frames + 1 < invulnerable - 1) continue;
            const Point p = along(ship, spot.at, t.frames + 1);
            hits += std::fabs(p.x - t.x) <= beamReachX && std::fabs(p.y - t.y) <= beamReachY;
            if (hits >= fewest) break;
        }
        if (hits < fewest) fewest = hits, best = spot.at;
        if (hits == 0) break;
    }
    return best;
}

std::string BossPilot::next(const Value& world, const Value& player) {
    gatherThreats(world);
    const Value& ship = player["ship"];
    const Point at{ship["x"].num(), ship["y"].num()};
    Point aim{0, 5};
    const bool target = bossAhead(world, (shotFirst + shotLast) / 2, aim);
    aim.y = std::clamp(aim.y, 3.0, 9.0);
    goal_ = choose(at, aim, static_cast<int>(player["invulnerableFrames"].integer()));
    std::string keys = keysTowards(at, goal_);
    if (!target) return keys;

    // Fire when a shot from where the ship will be meets the boss on its way.
    const Point from = along(at, goal_, 1);
    bool inLine = false;
    for (int k = shotFirst; k <= shotLast && !inLine; ++k) {
        Point boss{};
        bossAhead(world, k, boss);
        inLine = std::fabs(from.x - boss.x) <= shotReachX && std::fabs(from.y - boss.y) <= shotReachY;
    }
    // A missile goes while the shots wait out their cooldown, which a held
    // missile key would otherwise cost.
    const Value& missile = player["missile"];
    const bool missileReady = missile["active"].integer() == 0 && missile["inFlight"].integer() == 0 &&
                              missile["stock"].integer() > 0 && missile["launchDelay"].integer() == 0;
    const char* action = missileReady && player["shotCooldown"].integer() > 0 ? "x" : inLine ? "z" : nullptr;
    if (action) keys += keys.empty() ? action : std::string(" ") + action;
    return keys;
}
