// The bosses' beams: parking behind the player, no volley during Boss's
// entrance, the late volleys from a volley's time on, the fan's spread, the
// ring leaving Boss2 every 150 frames and spiralling about where it left,
// drawing parked beams, and the load order of sound and meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/json_writer.h"
#include "audio/audio_trace.h"
#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/beams.h"

using namespace platform;

namespace {

Placement shooterAt(double x, double y, double z) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    p.active = 1;
    return p;
}

// One frame of the World's drive for one shooter.
void drive(FieldObject& beams, Placement& shooter) {
    beams.fireFrom(&shooter, 0);
    beams.moveShots(shooter, 0, 1);
}

// Beams among the first n standing at the shooter: those a volley has just
// put there.
int atShooter(const FieldObject& beams, const Placement& shooter, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += beams.placements[i].active && beams.placements[i].z == shooter.z;
    return count;
}

// The sounds `owner` played since the last call.
int soundsPlayed(const std::string& owner) {
    JsonWriter w;
    traceAudio(w);
    const std::string& text = w.finish();
    const std::string quoted = "\"" + owner + "\"";
    int n = 0;
    for (auto at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) ++n;
    return n;
}

class BeamsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fpu::setSinglePrecision(true);
        setAudioCallRecording(true);
        soundsPlayed("");
    }
    void TearDown() override { setAudioCallRecording(false); }
};

}  // namespace

TEST_F(BeamsTest, ABeamPastTheFieldIsParkedBehindThePlayerLiveWhileItsBossIs) {
    BossBeams fans;
    SpiralBeams rings;
    for (FieldObject* beams : {static_cast<FieldObject*>(&fans), static_cast<FieldObject*>(&rings)}) {
        Placement boss = shooterAt(1.0, 5.0, 50.0);
        beams->arm(0);
        beams->placements[3].z = -20.5;
        beams->placements[4].z = -20.0;
        beams->fireFrom(&boss, 0);
        const Placement& parked = beams->placements[3];
        EXPECT_EQ(parked.x, 0.0);
        EXPECT_EQ(parked.y, 1.0);
        EXPECT_EQ(parked.z, -50.0);
        EXPECT_EQ(parked.active, 1);
        EXPECT_EQ(beams->placements[4].z, -20.0) << "not yet past";
        boss.active = 0;
        beams->fireFrom(&boss, 0);
        EXPECT_EQ(parked.active, 0);
    }
}

TEST_F(BeamsTest, NoVolleyDuringTheEntranceWhileTheCooldownRunsThenEvery150Frames) {
    BossBeams fans;
    fans.reset(1);
    Placement boss = shooterAt(0.0, 5.0, 50.0);
    fans.arm(0);
    fans.setEntranceTimer(200);
    for (int frame = 1; frame <= 200; ++frame) {
        drive(fans, boss);
        EXPECT_EQ(atShooter(fans, boss, fans.shotCount), 0) << "frame " << frame;
        if (frame == 150) {
            EXPECT_EQ(fans.cooldown, 150) << "the wait restarted at its time";
        }
    }
    EXPECT_EQ(soundsPlayed("BossBeams"), 0);
    fans.setEntranceTimer(0);
    int frame = 200;
    while (fans.placements[0].z != boss.z && frame < 400) fans.fireFrom(&boss, 0), ++frame;
    EXPECT_EQ(frame, 300);
    EXPECT_EQ(atShooter(fans, boss, fans.shotCount), 10);
    EXPECT_EQ(soundsPlayed("BossBeams"), 1);
}

TEST_F(BeamsTest, TheFanSpreadsFiveUpwardsAndFiveDownwardsEachByTenthsAcross) {
    BossBeams fans;
    fans.reset(0);
    Placement boss = shooterAt(0.0, 5.0, 50.0);
    fans.arm(0);
    for (int i = 0; i < 150; ++i) fans.fireFrom(&boss, 0);
    ASSERT_EQ(atShooter(fans, boss, fans.shotCount), 10);
    fans.moveShots(boss, 0, 1);
    const double across[10] = {-0.2, -0.1, 0.0, 0.1, 0.2, -0.2, -0.1, 0.0, 0.1, 0.2};
    for (int i = 0; i < 10; ++i) {
        const Placement& p = fans.placements[i];
        EXPECT_NEAR(p.x.value(), across[i], 1e-7) << "beam " << i;
        EXPECT_NEAR(p.y.value(), i < 5 ? 5.03 : 4.98, 1e-6) << "beam " << i;
        EXPECT_NEAR(p.z.value(), 49.2, 1e-5) << "beam " << i;
    }
}

TEST_F(BeamsTest, TheLateVolleysStartAtAVolleysTimeWithFourOnEasyAndTwelveOtherwiseEvery50Frames) {
    for (int w : {0, 1}) {
        BossBeams fans;
        fans.reset(w);
        Placement boss = shooterAt(0.0, 5.0, 50.0);
        fans.arm(0);
        for (int i = 0; i < 100; ++i) drive(fans, boss);
        fans.setBossHitPoints(11);  // the hit that takes it below 12
        for (int frame = 101; frame < 150; ++frame) {
            drive(fans, boss);
            ASSERT_EQ(fans.pattern, 0) << "frame " << frame;
        }
        fans.fireFrom(&boss, 0);  // frame 150: the volley's time
        EXPECT_EQ(atShooter(fans, boss, 10), 10) << "the last fan leaves first";
        EXPECT_EQ(fans.pattern, 1);
        EXPECT_EQ(fans.cooldown, 50);
        fans.moveShots(boss, 0, 1);
        const int expected = w == 0 ? 4 : 12;
        for (int volley = 0; volley < 3; ++volley) {
            for (int i = 1; i < 50; ++i) {
                drive(fans, boss);
                ASSERT_EQ(atShooter(fans, boss, fans.shotCount), 0) << "w " << w << " volley " << volley << " frame " << i;
            }
            fans.fireFrom(&boss, 0);
            EXPECT_EQ(atShooter(fans, boss, fans.shotCount), expected) << "w " << w;
            fans.moveShots(boss, 0, 1);
        }
        EXPECT_EQ(soundsPlayed("BossBeams"), 4);
    }
}

TEST_F(BeamsTest, TheTwelveLateBeamsDriftOverAGridWhoseRowIsNeverReset) {
    BossBeams fans;
    fans.reset(1);
    Placement boss = shooterAt(0.0, 5.0, 50.0);
    fans.setBossHitPoints(5);
    fans.cooldown = 1;
    fans.fireFrom(&boss, 0);  // the fan, and the switch
    fans.cooldown = 1;
    fans.fireFrom(&boss, 0);  // twelve late beams
    ASSERT_EQ(atShooter(fans, boss, fans.shotCount), 12);
    fans.moveShots(boss, 0, 1);
    for (int i = 0; i < 12; ++i) {
        // Columns drift left, straight, right; rows climb at four rates.
        EXPECT_NEAR(fans.placements[i].x.value(), -0.05 + (i % 3) * 0.05, 1e-7) << i;
        EXPECT_NEAR(fans.placements[i].y.value(), 5.0 + (i / 3 + 1 - 1.9) / 20, 1e-6) << i;
    }
    EXPECT_EQ(fans.column, 0);
    EXPECT_EQ(fans.row, 0);
    fans.moveShots(boss, 0, 1);
    fans.moveShots(boss, 0, 1);  // 24 more steps: on through the grid
    fans.placements[0].active = 0;
    fans.moveShots(boss, 0, 1);
    EXPECT_EQ(fans.column, 2);
    EXPECT_EQ(fans.row, 3);
    fans.reset(1);
    EXPECT_EQ(fans.column, 0);
    EXPECT_EQ(fans.row, 3);
}

TEST_F(BeamsTest, ARingLeavesBoss2Every150FramesAndSpiralsAboutWhereItLeft) {
    SpiralBeams rings;
    Placement boss = shooterAt(2.0, 6.0, 50.0);
    rings.arm(0);
    std::vector<int> ringFrames;
    for (int frame = 1; frame <= 300; ++frame) {
        rings.fireFrom(&boss, 0);
        if (atShooter(rings, boss, 24) == 24) ringFrames.push_back(frame);
        if (frame < 300) rings.moveShots(boss, 0, 1);
    }
    EXPECT_EQ(ringFrames, (std::vector<int>{150, 300}));
    EXPECT_EQ(rings.radius, 0.01);
    EXPECT_EQ(soundsPlayed("SpiralBeams"), 2);
    rings.moveShots(boss, 0, 1);
    EXPECT_EQ(ringCentre().x, 2.0);
    // The boss moves on; the ring keeps its centre.
    boss.x = -3.0;
    for (int k = 1; k < 40; ++k) rings.moveShots(boss, 0, 1);
    const double radius = rings.radius.value() - 0.06;  // before the last widening
    const double phase = rings.phase.value() - 0.07;
    for (int i = 0; i < 24; ++i) {
        const Placement& p = rings.placements[i];
        const double dx = p.x.value() - 2.0, dy = p.y.value() - 6.0;
        EXPECT_NEAR(std::hypot(dx, dy), radius, 1e-5) << i;
        EXPECT_NEAR(std::remainder(std::atan2(dy, dx) - phase - i * M_PI / 12, 2 * M_PI), 0.0, 1e-4) << i;
        EXPECT_NEAR(p.z.value(), 50.0 - 40 * 0.6, 1e-4);
    }
    EXPECT_NEAR(radius, 0.01 + 39 * 0.06, 1e-4);
}

TEST_F(BeamsTest, InactiveBeamsAreDrawnAtTheirParkedPlacesWithAdditiveLight) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\beam3.x"});
    SpiralBeams rings;
    rings.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(rings.load());
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    rings.drawShots(0, 0);
    int drawn = 0;
    const auto& calls = gfx::frameCalls();
    for (std::size_t c = 0; c < calls.size(); ++c) {
        if (calls[c].op != "SetTransform") continue;
        // World slot, then the translation row of the matrix.
        EXPECT_EQ(calls[c].args[13], drawn - 8);
        EXPECT_EQ(calls[c].args[14], 1.0f);
        EXPECT_EQ(calls[c].args[15], -50.0f);
        ASSERT_LT(c + 6, calls.size());
        EXPECT_EQ(calls[c + 1].op, "SetRenderState");
        EXPECT_EQ(calls[c + 1].args[1], double(D3DBLEND_ONE));
        EXPECT_EQ(calls[c + 6].op, "SetRenderState");
        EXPECT_EQ(calls[c + 6].args[1], double(D3DBLEND_INVSRCALPHA));
        ++drawn;
    }
    EXPECT_EQ(drawn, 24);
    f.device()->EndScene();
}

TEST_F(BeamsTest, TheFanBeamsLoadTheirSoundThenBothMeshesWithOneFailureText) {
    DeviceFixture f;
    BossBeams none;
    none.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(none.load());
    auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u) << "mesh 1 is not tried after mesh 0 failed";
    EXPECT_EQ(boxes[0].text, "tamaロスト");

    writeMiniPack(f.dir(), {"x\\bossbeam1.x"});
    BossBeams half;
    half.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(half.load());
    boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "tamaロスト");

    writeMiniPack(f.dir(), {"x\\bossbeam3.x"});
    BossBeams fans;
    fans.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(fans.load());
    fans.reset(1);
    EXPECT_EQ(fans.materials, fans.graphics.materialsBuffer->GetBufferPointer());
    fans.setBossHitPoints(3);
    fans.cooldown = 1;
    Placement boss = shooterAt(0.0, 5.0, 50.0);
    fans.fireFrom(&boss, 0);
    EXPECT_EQ(fans.materials, fans.lateLook.materialsBuffer->GetBufferPointer()) << "the late look's materials";
}
