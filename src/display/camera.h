// The camera's state: the fields Display keeps for it, and the camera
// director that holds the boss-entrance script and the clear-sequence orbit.
#pragma once

#include <cstdint>

#include "platform/real.h"

struct CameraFields {
    Real sway = 0.0;
    Real swayPhase = 0.0;    // degrees
    Real swaySpeed = 20.0;   // degrees per frame, used as speed - 0.02
    Real lookAtX = 0.0, lookAtY = 0.0, lookAtZ = 0.0;
    Real eyeX = 0.0, eyeY = 7.0, eyeZ = -30.0;
    Real fieldOfView = 45.0; // vertical, degrees
};

struct CameraDirector {
    std::int32_t mode = 0;
    Real orbitAngle = 3.14159;
    Real orbitHeight = 0.0;

    void reset() { *this = CameraDirector{}; }
};
