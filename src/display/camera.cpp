// The camera: Display's view and projection while a game runs, and the
// director's boss-entrance script and clear orbit.
#include <cmath>

#include "display/display.h"

using namespace platform;

namespace {

// Degrees to radians: the single-precision pi over 180, in double.
constexpr double kDegree = 0.017453293005625408;
static_assert(kDegree == static_cast<double>(3.14159265358979f) / 180.0);

// What updateCamera returns when the viewport can't be read (E_FAIL).
constexpr double kViewportFailed = -2147467259.0;

// The boss-entrance script for one frame of countdown n. The cuts flip the
// director's mode so that each one is taken only on the first frame of its
// range; the last 130 frames pull the eye back.
void entranceScript(CameraFields& c, CameraDirector& d, std::int32_t n) {
    auto place = [&c](Real ex, Real ey, Real ez) { c.eyeX = ex, c.eyeY = ey, c.eyeZ = ez; };
    auto aim = [&c](Real ax, Real ay, Real az) { c.lookAtX = ax, c.lookAtY = ay, c.lookAtZ = az; };
    if (n > 780) {
        if (c.lookAtY < 4.5) c.lookAtY += 0.01;
    } else if (n > 620) {
        if (c.eyeZ < 4.0) c.eyeZ += 0.05;
    } else if (n > 540) {
        if (d.mode == 0) {
            place(9.0, 4.0, 48.5), aim(7.5, 4.0, 48.5);
            d.mode = 1;
        } else {
            c.eyeZ += 0.02;
            c.lookAtZ += 0.02;
        }
    } else if (n > 460) {
        if (d.mode == 1) {
            place(-10.0, 6.5, 47.0), aim(-7.5, 6.5, 47.0);
            d.mode = 0;
        } else {
            c.eyeZ += 0.02;
            c.lookAtZ += 0.02;
        }
    } else if (n > 380) {
        if (d.mode == 0) {
            place(0.0, 6.0, 60.0), aim(0.0, 6.0, 55.0);
            d.mode = 1;
        } else {
            c.eyeZ += 0.02;
        }
    } else if (n > 350) {
        place(5.0, 9.0, 40.0), aim(0.0, 6.0, 50.0);
    } else if (n > 320) {
        place(-5.0, 9.0, 40.0);
    } else if (d.mode == 1) {
        place(0.0, 9.9, 49.0), aim(0.0, 9.9, 50.0);
        d.mode = 0;
    } else if (d.mode == 0) {
        c.eyeY -= 0.005;
        c.lookAtY -= 0.005;
        if (n == 130) d.mode = 2;
    } else if (d.mode == 2) {
        c.eyeZ -= 0.3;
    }
}

// The stage-clear orbit around the look-at point (the ship).
void orbit(CameraFields& c, CameraDirector& d, std::int32_t clearTimer) {
    if (clearTimer > 500) {
        d.orbitAngle += 0.01;
        if (clearTimer > 800) d.orbitHeight += 0.035;
    } else if (clearTimer > 400 && clearTimer < 500) {
        d.orbitHeight -= 0.015;
    }
    c.eyeZ = c.lookAtZ + Real(11.0) * cos(d.orbitAngle);
    c.eyeX = c.lookAtX + Real(8.0) * sin(d.orbitAngle);
    c.eyeY = c.lookAtY + d.orbitHeight;
}

}  // namespace

void Display::resetCamera() {
    camera = CameraFields{};
    gameMusicOn = 0;
    bossFadeDone = 0;
    bossMusicDelay = 0;
}

void Display::resetDirector() { director.reset(); }

Real Display::updateCamera(Real shipX, Real shipY, Real shipZ, std::int32_t hitRecovery,
                           std::int32_t entranceCountdown) {
    CameraFields& c = camera;
    c.swayPhase = c.swayPhase + (c.swaySpeed - Real(0.02));

    // Follow the ship sideways while it is near the middle.
    if (shipX > -4.0 && shipX < 4.0) c.lookAtX = shipX;

    // Sway for the first frames after a hit.
    if (hitRecovery > 100 && hitRecovery < 150) {
        c.sway = sin(c.swayPhase * Real(kDegree));
    } else {
        c.swayPhase = 0.0;
        c.sway = 0.0;
        c.swaySpeed = 20.0;
    }

    if (entranceCountdown > 0) {
        if (c.eyeZ > -30.1) entranceScript(c, director, entranceCountdown);
    } else {
        c.fieldOfView = 45.0;
        c.lookAtY = 0.0;
        c.lookAtZ = 0.0;
        c.eyeX = 0.0, c.eyeY = 7.0, c.eyeZ = -30.0;
    }

    if (clearTimer > 0 && clearTimer < 900) {
        c.lookAtX = shipX, c.lookAtY = shipY, c.lookAtZ = shipZ;
        orbit(c, director, clearTimer);
    }

    const D3DXVECTOR3 eye(c.eyeX.toFloat(), c.eyeY.toFloat(), c.eyeZ.toFloat());
    const D3DXVECTOR3 at((c.lookAtX + c.sway).toFloat(), c.lookAtY.toFloat(), c.lookAtZ.toFloat());
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    device_->SetTransform(D3DTS_VIEW, &view);

    if (FAILED(device_->GetViewport(&viewport))) return kViewportFailed;
    aspect = static_cast<float>(viewport.Width) / static_cast<float>(viewport.Height);
    D3DXMatrixPerspectiveFovLH(&projection, (c.fieldOfView * Real(kDegree)).toFloat(), aspect, 1.0f,
                               1000.0f);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    return c.lookAtX;
}
