// The in-game camera on the recording backend: following the ship, the sway
// after a hit, the boss-entrance script, the clear orbit, and the view and
// projection it leaves on the device.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "display/display.h"
#include "platform/gfx/gfx_config.h"
#include "platform/real.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

namespace {

// Expected values in plain single-precision arithmetic.
float f(double v) { return static_cast<float>(v); }
float plus(float a, double b) { return f(double(a) + b); }
const double kDegree = 0.017453293005625408;  // degrees to radians

D3DXMATRIX lookAt(D3DXVECTOR3 eye, D3DXVECTOR3 at) {
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    return m;
}

void expectSameMatrix(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(a.m[i / 4][i % 4], b.m[i / 4][i % 4]) << "element " << i;
}

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        fpu::setSinglePrecision(false);
        writeMiniPack(fixture_.dir(), displayFiles());
        display_ = std::make_unique<Display>();
        display_->init(fixture_.window());
        ASSERT_NE(display_->device(), nullptr);
    }
    void TearDown() override { display_.reset(); }

    // One camera update with the ship at (x, 5, -7).
    Real step(double x, std::int32_t hit = 0, std::int32_t countdown = 0) {
        return display_->updateCamera(x, 5.0, -7.0, hit, countdown);
    }
    D3DXMATRIX deviceView() const {
        D3DXMATRIX m;
        display_->device()->GetTransform(D3DTS_VIEW, &m);
        return m;
    }
    void expectEye(double x, double y, double z) const {
        EXPECT_EQ(cam().eyeX, x);
        EXPECT_EQ(cam().eyeY, y);
        EXPECT_EQ(cam().eyeZ, z);
    }
    void expectLookAt(double x, double y, double z) const {
        EXPECT_EQ(cam().lookAtX, x);
        EXPECT_EQ(cam().lookAtY, y);
        EXPECT_EQ(cam().lookAtZ, z);
    }
    CameraFields& cam() const { return display_->camera; }

    DeviceFixture fixture_{false};  // the Display makes its own device
    std::unique_ptr<Display> display_;
};

}  // namespace

TEST_F(CameraTest, TheLookAtFollowsTheShipOnlyStrictlyInsideTheMiddle) {
    EXPECT_EQ(step(3.5), 3.5);
    expectSameMatrix(deviceView(), lookAt({0, 7, -30}, {3.5f, 0, 0}));
    for (double x : {4.0, 6.0, -4.0, -9.0}) EXPECT_EQ(step(x), 3.5) << x;
    EXPECT_EQ(step(-3.99), -3.99);
    EXPECT_EQ(step(3.99), 3.99);
    EXPECT_EQ(cam().lookAtX, 3.99);
}

TEST_F(CameraTest, SwayRunsOnlyWhileHitRecoveryIsStrictlyBetween100And150) {
    // 149: the phase turns by 19.98 degrees a frame and the look-at swings.
    step(0.0, 149);
    const float phase1 = f(20.0 - 0.02);
    EXPECT_EQ(cam().swayPhase, phase1);
    const double sway1 = std::sin(double(f(phase1 * kDegree)));
    EXPECT_EQ(cam().sway, sway1);
    expectSameMatrix(deviceView(), lookAt({0, 7, -30}, {f(sway1), 0, 0}));
    EXPECT_EQ(step(0.0, 101), 0.0);  // the returned look-at x leaves the sway out
    const float phase2 = phase1 + phase1;
    EXPECT_EQ(cam().swayPhase, phase2);
    EXPECT_EQ(cam().sway, std::sin(double(f(phase2 * kDegree))));

    // A changed speed is used as speed - 0.02 until the sway ends.
    cam().swaySpeed = 30.0;
    step(0.0, 120);
    EXPECT_EQ(cam().swayPhase, phase2 + f(30.0 - 0.02));

    // 150 and 100 give no sway and put phase and speed back.
    for (int hit : {150, 100, 0}) {
        step(0.0, 130);
        ASSERT_NE(cam().sway, 0.0);
        cam().swaySpeed = 30.0;
        step(0.0, hit);
        EXPECT_EQ(cam().sway, 0.0) << hit;
        EXPECT_EQ(cam().swayPhase, 0.0) << hit;
        EXPECT_EQ(cam().swaySpeed, 20.0) << hit;
        expectSameMatrix(deviceView(), lookAt({0, 7, -30}, {0, 0, 0}));
    }
}

TEST_F(CameraTest, TheEntranceOpensByRaisingTheLookAtThenPushingTheEyeIn) {
    step(0.0, 0, 781);
    expectLookAt(0, f(0.01), 0);
    expectEye(0, 7, -30);
    cam().lookAtY = 4.5;  // the raise stops at 4.5
    step(0.0, 0, 900);
    EXPECT_EQ(cam().lookAtY, 4.5);
    cam().lookAtY = f(4.49);
    step(0.0, 0, 900);
    EXPECT_EQ(cam().lookAtY, plus(f(4.49), 0.01));

    step(0.0, 0, 780);
    EXPECT_EQ(cam().lookAtY, plus(f(4.49), 0.01));
    EXPECT_EQ(cam().eyeZ, f(-30.0 + 0.05));
    cam().eyeZ = 4.0;  // the push stops at 4
    step(0.0, 0, 621);
    EXPECT_EQ(cam().eyeZ, 4.0);
    cam().eyeZ = f(3.99);
    step(0.0, 0, 621);
    EXPECT_EQ(cam().eyeZ, plus(f(3.99), 0.05));
    EXPECT_EQ(display_->director.mode, 0);
}

TEST_F(CameraTest, EachEntranceCutIsTakenOnTheFirstFrameOfItsRangeOnly) {
    // 620: the first cut, after the follow step (its look-at x is returned).
    EXPECT_EQ(step(1.0, 0, 620), 7.5);
    expectEye(9, 4, 48.5);
    expectLookAt(7.5, 4, 48.5);
    EXPECT_EQ(display_->director.mode, 1);
    step(10.0, 0, 541);  // the rest of the range drifts forwards
    expectEye(9, 4, plus(48.5f, 0.02));
    expectLookAt(7.5, 4, plus(48.5f, 0.02));

    step(10.0, 0, 540);
    expectEye(-10, 6.5, 47);
    expectLookAt(-7.5, 6.5, 47);
    EXPECT_EQ(display_->director.mode, 0);
    step(10.0, 0, 461);
    expectEye(-10, 6.5, plus(47.0f, 0.02));
    expectLookAt(-7.5, 6.5, plus(47.0f, 0.02));

    step(10.0, 0, 460);
    expectEye(0, 6, 60);
    expectLookAt(0, 6, 55);
    EXPECT_EQ(display_->director.mode, 1);
    step(10.0, 0, 381);  // only the eye drifts now
    expectEye(0, 6, plus(60.0f, 0.02));
    expectLookAt(0, 6, 55);

    // 380 and 350 cut on every frame of their ranges, whatever the mode.
    for (int n : {380, 351}) {
        cam().eyeZ = 1.0;
        step(10.0, 0, n);
        expectEye(5, 9, 40);
        expectLookAt(0, 6, 50);
    }
    for (int n : {350, 321}) {
        cam().eyeZ = 1.0;
        step(10.0, 0, n);
        expectEye(-5, 9, 40);
        expectLookAt(0, 6, 50);
    }
    EXPECT_EQ(display_->director.mode, 1);

    step(10.0, 0, 320);
    expectEye(0, 9.9, 49);
    expectLookAt(0, 9.9, 50);
    EXPECT_EQ(display_->director.mode, 0);
}

TEST_F(CameraTest, TheEntranceEndsSinkingThenPullsBackUntilPastMinus30Point1) {
    cam().eyeY = 9.9, cam().lookAtY = 9.9, cam().eyeZ = 49.0;  // as the last cut leaves them
    step(10.0, 0, 131);
    EXPECT_EQ(cam().eyeY, f(9.9 - 0.005));
    EXPECT_EQ(cam().lookAtY, f(9.9 - 0.005));
    EXPECT_EQ(display_->director.mode, 0);
    step(10.0, 0, 130);  // sinks once more, then the pull-back begins
    const float y = plus(f(9.9 - 0.005), -0.005);
    EXPECT_EQ(cam().eyeY, y);
    EXPECT_EQ(display_->director.mode, 2);
    step(10.0, 0, 129);
    expectEye(0, y, plus(49.0f, -0.3));
    EXPECT_EQ(cam().lookAtY, y);

    // At -30.1 or below the script leaves the camera alone.
    cam().eyeZ = -29.9;
    step(10.0, 0, 100);
    EXPECT_EQ(cam().eyeZ, f(-29.9 - 0.3));
    for (int n : {99, 900, 700}) {
        step(10.0, 0, n);
        EXPECT_EQ(cam().eyeZ, f(-29.9 - 0.3)) << n;
    }
    for (double z : {-30.1, double(f(-30.1))}) {  // at it, and the float just below
        cam().eyeZ = z;
        step(10.0, 0, 50);
        EXPECT_EQ(cam().eyeZ, z);
    }
    cam().eyeZ = -30.0;
    step(10.0, 0, 50);
    EXPECT_EQ(cam().eyeZ, f(-30.3));
}

TEST_F(CameraTest, AWholeEntranceCutsSixTimesAndCountdownZeroRestoresTheNormalCamera) {
    cam().fieldOfView = 30.0;
    int cuts = 0;
    for (int n = 940; n >= 1; --n) {
        const CameraFields before = cam();
        step(1.0, 0, n);
        const double jump = std::abs(cam().eyeX.value() - before.eyeX.value()) +
                            std::abs(cam().eyeY.value() - before.eyeY.value()) +
                            std::abs(cam().eyeZ.value() - before.eyeZ.value());
        cuts += jump > 1.0;
    }
    EXPECT_EQ(cuts, 6);
    EXPECT_EQ(display_->director.mode, 2);
    EXPECT_NEAR(cam().eyeZ.value(), 49.0 - 129 * 0.3, 1e-3);
    EXPECT_NEAR(cam().eyeY.value(), 9.9 - 190 * 0.005, 1e-3);
    EXPECT_EQ(cam().fieldOfView, 30.0);  // the script keeps the field of view
    D3DXMATRIX projection;
    display_->device()->GetTransform(D3DTS_PROJECTION, &projection);
    D3DXMATRIX expected;
    D3DXMatrixPerspectiveFovLH(&expected, f(30.0 * kDegree), 800.0f / 600.0f, 1.0f, 1000.0f);
    expectSameMatrix(projection, expected);

    EXPECT_EQ(step(10.0, 0, 0), 1.0);  // the look-at x is not reset
    expectEye(0, 7, -30);
    EXPECT_EQ(cam().lookAtY, 0.0);
    EXPECT_EQ(cam().lookAtZ, 0.0);
    EXPECT_EQ(cam().fieldOfView, 45.0);
}

TEST_F(CameraTest, TheClearOrbitRunsOnlyInsideTheClearTimerWithItsSteps) {
    for (int t : {900, 0}) {
        display_->clearTimer = t;
        EXPECT_EQ(display_->updateCamera(2.0, 5.0, -7.0, 0, 0), 2.0);
        expectLookAt(2, 0, 0);
        expectEye(0, 7, -30);
    }
    auto expectOrbit = [&](float angle, float height) {
        EXPECT_EQ(display_->director.orbitAngle, angle);
        EXPECT_EQ(display_->director.orbitHeight, height);
        expectLookAt(2.5, 5, -7);
        expectEye(2.5f + f(8.0 * std::sin(double(angle))), 5.0f + height,
                  -7.0f + f(11.0 * std::cos(double(angle))));
    };
    display_->clearTimer = 899;
    // The look-at takes the ship even outside the middle.
    EXPECT_EQ(display_->updateCamera(2.5, 5.0, -7.0, 0, 0), 2.5);
    float angle = f(3.14159 + 0.01), height = f(0.035);
    expectOrbit(angle, height);
    expectSameMatrix(deviceView(), lookAt({cam().eyeX.toFloat(), cam().eyeY.toFloat(), cam().eyeZ.toFloat()},
                                          {2.5f, 5.0f, -7.0f}));

    const struct {
        int timer;
        double turn, rise;
    } steps[] = {{801, 0.01, 0.035}, {800, 0.01, 0.0}, {501, 0.01, 0.0}, {500, 0.0, 0.0},
                 {499, 0.0, -0.015}, {401, 0.0, -0.015}, {400, 0.0, 0.0}, {1, 0.0, 0.0}};
    for (const auto& s : steps) {
        display_->clearTimer = s.timer;
        display_->updateCamera(2.5, 5.0, -7.0, 0, 0);
        if (s.turn != 0) angle = plus(angle, s.turn);
        if (s.rise != 0) height = plus(height, s.rise);
        SCOPED_TRACE(s.timer);
        expectOrbit(angle, height);
    }
}

TEST_F(CameraTest, AWholeClearOrbitTurnsFourRadiansAndEndsTwoUnitsUp) {
    for (int t = 899; t >= 1; --t) {
        display_->clearTimer = t;
        display_->updateCamera(0.0, 5.0, -7.0, 0, 0);
    }
    EXPECT_NEAR(display_->director.orbitAngle.value(), 3.14159 + 399 * 0.01, 1e-3);
    EXPECT_NEAR(display_->director.orbitHeight.value(), 99 * 0.035 - 99 * 0.015, 1e-4);
    display_->resetDirector();
    EXPECT_EQ(display_->director.orbitAngle, 3.14159);
    EXPECT_EQ(display_->director.orbitHeight, 0.0);
}

TEST_F(CameraTest, EachUpdateSetsTheViewThenTheProjection) {
    gfx::setCurrentFrame(1);
    step(1.5);
    const auto& calls = gfx::frameCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "SetTransform");
    EXPECT_EQ(calls[0].args[0], double(D3DTS_VIEW));
    EXPECT_EQ(calls[1].args[0], double(D3DTS_PROJECTION));
    expectSameMatrix(display_->view, lookAt({0, 7, -30}, {1.5f, 0, 0}));
    expectSameMatrix(deviceView(), display_->view);
    D3DXMATRIX expected, projection;
    D3DXMatrixPerspectiveFovLH(&expected, f(45.0 * kDegree), 800.0f / 600.0f, 1.0f, 1000.0f);
    display_->device()->GetTransform(D3DTS_PROJECTION, &projection);
    expectSameMatrix(projection, expected);
    expectSameMatrix(display_->projection, expected);
    EXPECT_EQ(display_->aspect, 800.0f / 600.0f);
}

TEST_F(CameraTest, AFailedViewportReadReturnsTheFailureCodeWithoutAProjection) {
    cam().fieldOfView = 30.0;  // a projection from this would differ from the first one
    D3DXMATRIX before;
    display_->device()->GetTransform(D3DTS_PROJECTION, &before);
    gfx::setCurrentFrame(1);
    gfx::failViewports(1);
    EXPECT_EQ(step(1.5, 0, 700), -2147467259.0);
    EXPECT_EQ(DeviceFixture::ops(), (std::vector<std::string>{"SetTransform"}));
    expectSameMatrix(deviceView(), lookAt({0, 7, f(-30.0 + 0.05)}, {1.5f, 0, 0}));
    D3DXMATRIX after;
    display_->device()->GetTransform(D3DTS_PROJECTION, &after);
    expectSameMatrix(after, before);
    EXPECT_EQ(cam().lookAtX, 1.5);  // the camera itself moved on

    EXPECT_EQ(step(1.5, 0, 700), 1.5);
    EXPECT_EQ(DeviceFixture::countOp("SetTransform"), 3);
}
