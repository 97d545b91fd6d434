// The bosses' beams: parking behind the player, no volley during Boss's
// entrance, the fan, the late volleys from a volley's time on, the ring
// spiralling about where it left Boss2, and parked beams still drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/beams.h"

using namespace platform;

namespace {

Placement bossAt(double x, double y, double z) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    p.active = 1;
    return p;
}

// Frames of fire and move until a volley leaves (it is seen before it
// moves); how many frames that took, at most `limit`.
int untilVolley(FieldObject& beams, Placement& boss, int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
        beams.fireFrom(&boss, 0);
        if (beams.placements[0].active && beams.placements[0].z == boss.z) return frame;
        beams.moveShots(boss, 0, 1);
    }
    return -1;
}

// Beams among the first n that a volley has just put at the boss.
int atBoss(const FieldObject& beams, const Placement& boss, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += beams.placements[i].active && beams.placements[i].z == boss.z;
    return count;
}

}  // namespace

TEST(Beams, ABeamPastTheFieldIsParkedBehindThePlayerLiveWhileItsBossIs) {
    BossBeams fans;
    SpiralBeams rings;
    for (FieldObject* beams : {static_cast<FieldObject*>(&fans), static_cast<FieldObject*>(&rings)}) {
        Placement boss = bossAt(1.0, 5.0, 50.0);
        beams->placements[3].z = -20.5;
        beams->fireFrom(&boss, 0);
        const Placement& parked = beams->placements[3];
        EXPECT_TRUE(parked.x == 0.0 && parked.y == 1.0 && parked.z == -50.0 && parked.active == 1);
        boss.active = 0;
        beams->fireFrom(&boss, 0);
        EXPECT_EQ(parked.active, 0);
    }
}

TEST(Beams, NoFanDuringTheEntranceWhileItsWaitRunsThenTenBeamsSpreadByTenths) {
    fpu::setSinglePrecision(true);
    BossBeams fans;
    Placement boss = bossAt(0.0, 5.0, 50.0);
    fans.arm(0);
    fans.setEntranceTimer(200);
    EXPECT_EQ(untilVolley(fans, boss, 200), -1);
    EXPECT_EQ(fans.cooldown, 100) << "the wait ran and restarted at frame 150";
    fans.setEntranceTimer(0);
    EXPECT_EQ(untilVolley(fans, boss, 200), 100);
    EXPECT_EQ(atBoss(fans, boss, 20), 10);
    fans.moveShots(boss, 0, 1);
    // Across by (i - 2) / 10 and (i - 7) / 10: up on the left half, down on the right.
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(fans.placements[i].x.value(), (i < 5 ? i - 2 : i - 7) / 10.0, 1e-7) << i;
        EXPECT_NEAR(fans.placements[i].y.value(), i < 5 ? 5.03 : 4.98, 1e-6) << i;
    }
}

TEST(Beams, TheLateVolleysStartAtAVolleysTimeWithFourOnEasyAndTwelveOtherwiseEvery50Frames) {
    for (int w : {0, 1}) {
        BossBeams fans;
        fans.reset(w);
        Placement boss = bossAt(0.0, 5.0, 50.0);
        fans.arm(0);
        fans.setBossHitPoints(11);  // a hit at any time takes it below 12
        EXPECT_EQ(untilVolley(fans, boss, 200), 150);
        EXPECT_EQ(atBoss(fans, boss, 20), 10) << "the last fan";
        EXPECT_EQ(fans.pattern, 1);
        for (int volley = 0; volley < 3; ++volley) {
            fans.moveShots(boss, 0, 1);
            EXPECT_EQ(untilVolley(fans, boss, 200), 50);
            EXPECT_EQ(atBoss(fans, boss, fans.shotCount), w == 0 ? 4 : 12);
        }
    }
    // On normal and hard the spread counters run on; the row is never reset.
    BossBeams fans;
    fans.reset(1);
    fans.setBossHitPoints(5);
    fans.cooldown = 1;
    Placement boss = bossAt(0.0, 5.0, 50.0);
    fans.fireFrom(&boss, 0);
    for (int i = 0; i < 4; ++i) fans.moveShots(boss, 0, 1);  // ten beams a frame
    EXPECT_EQ(fans.column, 1) << "40 steps: 13 rows of three and one more";
    EXPECT_EQ(fans.row, 1) << "13 rows: the four of the grid three times, and one";
    fans.reset(1);
    EXPECT_EQ(fans.column, 0);
    EXPECT_EQ(fans.row, 1);
}

TEST(Beams, ARingLeavesBoss2Every150FramesAndSpiralsAboutWhereItLeft) {
    fpu::setSinglePrecision(true);
    SpiralBeams rings;
    Placement boss = bossAt(2.0, 6.0, 50.0);
    rings.arm(0);
    EXPECT_EQ(untilVolley(rings, boss, 200), 150);
    rings.moveShots(boss, 0, 1);
    EXPECT_EQ(untilVolley(rings, boss, 200), 150);
    EXPECT_EQ(atBoss(rings, boss, 24), 24);
    EXPECT_EQ(rings.radius, 0.01);
    rings.moveShots(boss, 0, 1);
    boss.x = -3.0;  // the boss moves on; the ring keeps its centre
    for (int k = 1; k < 40; ++k) rings.moveShots(boss, 0, 1);
    const double radius = 0.01 + 39 * 0.06, phase = rings.phase.value() - 0.07;
    for (int i = 0; i < 24; ++i) {
        const double dx = rings.placements[i].x.value() - 2.0, dy = rings.placements[i].y.value() - 6.0;
        EXPECT_NEAR(std::hypot(dx, dy), radius, 1e-4) << i;
        EXPECT_NEAR(std::remainder(std::atan2(dy, dx) - phase - i * M_PI / 12, 2 * M_PI), 0.0, 1e-4) << i;
        EXPECT_NEAR(rings.placements[i].z.value(), 50.0 - 40 * 0.6, 1e-4);
    }
}

TEST(Beams, InactiveBeamsAreDrawnAtTheirParkedPlacesWithAdditiveLight) {
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
    for (std::size_t c = 0; c + 6 < calls.size(); ++c) {
        if (calls[c].op != "SetTransform") continue;
        // The translation row, then the additive blend around the mesh's two subsets.
        EXPECT_TRUE(calls[c].args[13] == drawn - 8 && calls[c].args[14] == 1 && calls[c].args[15] == -50);
        EXPECT_EQ(calls[c + 1].args[1], double(D3DBLEND_ONE));
        EXPECT_EQ(calls[c + 6].args[1], double(D3DBLEND_INVSRCALPHA));
        ++drawn;
    }
    EXPECT_EQ(drawn, 24);
    f.device()->EndScene();
}

TEST(Beams, TheFanBeamsShowOneFailureTextForEitherMesh) {
    DeviceFixture f;
    for (const char* present : {"", "x\\bossbeam1.x"}) {
        if (*present) writeMiniPack(f.dir(), {present});
        BossBeams fans;
        fans.graphics.attach(f.device(), f.window(), nullptr);
        EXPECT_FALSE(fans.load());
        const auto boxes = takeShownBoxes();
        ASSERT_EQ(boxes.size(), 1u) << "the late look is not tried after the first failed";
        EXPECT_EQ(boxes[0].text, "tamaロスト");
    }
}
