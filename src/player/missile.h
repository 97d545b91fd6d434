// Missile: the homing missile and its stock of five per game, and the icons
// of the stock in the HUD.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Missile : public FieldObject {
public:
    Missile();
    ~Missile() override;

    // "x\missile.x", then the stock icon "t\missile.png".
    bool load();
    void reset(int difficulty) override;
    // Launch and flight, once per frame.
    void update(int action, int reserved, Placement ship) override;
    void drawSlot(int index) override;
    // One candidate of this frame's target search (nearest signed z gap wins).
    void offerTarget(const Placement& enemy, Real shipZ);
    void clearSearch() { nearestGap = 500.0; }
    // One stock icon with the sprite at 70 %.
    void drawIcon(float x, float y);

    std::int32_t launchDelay = 20;
    std::int32_t stock = 5;
    std::uint8_t inFlight = 0;
    Placement target;
    Placement aim;
    Real nearestGap = 500.0;
};

// The homing's values, one set for the process (never reset).
struct MissileHoming {
    Real guidePoint[3];
    Real aimSnapshot[3];
    Real homingStep = 1.0;
    Real missileSpeed = 0.0;
    float spinAngle = 0.0f;  // degrees, for drawing
};
const MissileHoming& missileHoming();
