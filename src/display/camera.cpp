// The camera: Display's view and projection while a game runs, and the
// director's boss-entrance script and clear orbit.
#include "display/display.h"

using namespace platform;

void Display::resetCamera() {
    camera = CameraFields{};
    gameMusicOn = 0;
    bossFadeDone = 0;
    bossMusicDelay = 0;
}

void Display::resetDirector() { director.reset(); }

// Not built yet: the camera stays where the first camera put it.
Real Display::updateCamera(Real, Real, Real, std::int32_t, std::int32_t) { return camera.lookAtX; }
