// BossPilot: plays the two boss fights from the trace, one frame at a time,
// as a player would: it steers the ship under where the boss will be when a
// shot gets there, fires when a shot can reach it, launches missiles between
// shots, and keeps out of the way of the bosses' beams.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "support/json.h"

class BossPilot {
public:
    // The keys to hold in the next frame, from the last frame's "world" (its
    // members boss and boss2, and bossBeams and spiralBeams while a boss is
    // in play) and "player" (ship, shotCooldown, missile, invulnerableFrames).
    std::string next(const testing_json::Value& world, const testing_json::Value& player);

    struct Point {
        double x, y;
    };

private:
    // A beam at the ship's depth: `frames` after the frame seen, at (x, y).
    struct Threat {
        int frames;
        double x, y;
    };

    void gatherThreats(const testing_json::Value& world);
    Point choose(Point ship, Point aim, int invulnerable) const;

    struct Slot {
        double x = 0, y = 0, z = 0;
        bool active = false;
    };

    std::vector<Threat> threats_;
    std::array<Slot, 20> lastFans_;  // the first boss's beams in the frame before
    Point goal_{0, 5};
};
