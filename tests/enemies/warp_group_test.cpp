// WarpGroup: where its jumps land, how often and how deep, the flash it
// leaves behind, and its load order.
#include <gtest/gtest.h>

#include "enemies/random_seeds.h"
#include "enemies/warp_group.h"
#include "platform/crt.h"
#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;
using enemies_test::seedDrawing;

namespace {

// A first draw in quarter q of 0..32767 picks candidate q.
std::uint32_t seedForCandidate(int q) { return seedDrawing(q * 8192 + 4000); }

struct XY {
    double x, y;
};
constexpr XY P[5] = {{-7, 9}, {-7, 3}, {0, 6}, {7, 9}, {7, 3}};

class WarpGroupTest : public ::testing::Test {
protected:
    void SetUp() override { fpu::setSinglePrecision(true); }
    void TearDown() override { fpu::setSinglePrecision(false); }

    // Reset for `wave` and bring the unit into play, as the schedule does.
    void enter(int wave = 0) {
        warp.reset(wave);
        warp.placements[0].active = 1;
    }
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) warp.update(0, 0, player);
    }
    void expectAt(XY point, double z) {
        const Placement& p = warp.placements[0];
        EXPECT_EQ(p.x, point.x);
        EXPECT_EQ(p.y, point.y);
        EXPECT_EQ(p.z, z);
    }

    WarpGroup warp;
    Placement player;
};

}  // namespace

TEST_F(WarpGroupTest, FirstUpdateJumpsToEachOfTheFourStartingCandidates) {
    // The starting list leaves out P2; each quarter of the draw, from its
    // first value to its last, picks one candidate.
    const int landing[4] = {0, 1, 3, 4};
    for (int q = 0; q < 4; ++q) {
        for (int draw : {q * 8192, q * 8192 + 8191}) {
            SCOPED_TRACE(draw);
            enter();
            platform::srand(seedDrawing(draw));
            step();
            expectAt(P[landing[q]], 90.0);
            EXPECT_EQ(warp.placements[0].active, 1);
            EXPECT_EQ(warp.flashTimer(), 9);
        }
    }
}

TEST_F(WarpGroupTest, TheListIsRebuiltWithoutThePointJustReached) {
    enter();
    platform::srand(seedForCandidate(3));  // to P4
    step();
    expectAt(P[4], 90.0);
    EXPECT_EQ(warp.currentPoint(), 4);
    for (int f = 0; f < 4; ++f) EXPECT_EQ(warp.candidate(f).x, P[f].x);  // P0..P3
    step(49);
    expectAt(P[4], 90.0);  // no jump in between
    platform::srand(seedForCandidate(2));
    step();
    expectAt(P[2], 80.0);  // the middle point, left out of the starting list
    EXPECT_EQ(warp.currentPoint(), 2);
}

TEST_F(WarpGroupTest, AFirstJumpToP3CanBeFollowedByAnotherToP3) {
    // The starting list stands for k = 2 while k says 3: landing on P3 sets
    // k to 2, so P3 stays on the list.
    enter();
    platform::srand(seedForCandidate(2));
    step();
    expectAt(P[3], 90.0);
    step(49);
    platform::srand(seedForCandidate(2));
    step();
    expectAt(P[3], 80.0);
}

TEST_F(WarpGroupTest, JumpsEveryFiftyFramesAndLeavesOnTheFourteenth) {
    enter();
    platform::srand(1);
    int updates = 0;
    for (int jump = 1; jump <= 13; ++jump) {
        step();
        ++updates;
        const double landed = warp.placements[0].z.value();
        EXPECT_NEAR(landed, 100.0 - 10 * jump, 1e-4) << "jump " << jump;
        step(49);
        updates += 49;
        EXPECT_NEAR(warp.placements[0].z.value(), landed, 1e-4) << "depth held after jump " << jump;
        ASSERT_EQ(warp.placements[0].active, 1) << "after " << updates << " updates";
    }
    step();  // the fourteenth jump, from -30 to -40
    EXPECT_NEAR(warp.placements[0].z.value(), -40.0, 1e-4);
    EXPECT_EQ(warp.placements[0].active, 0);
}

TEST_F(WarpGroupTest, AReArmedUnitJumpsOnItsFirstUpdate) {
    enter();
    step(20);  // mid-way between jumps
    warp.reset(2);
    EXPECT_EQ(warp.placements[0].cue, 2500);
    EXPECT_EQ(warp.flashTimer(), 0);
    warp.placements[0].active = 1;
    platform::srand(seedForCandidate(0));
    step();
    expectAt(P[0], 90.0);
    EXPECT_EQ(warp.flashTimer(), 9);
}

namespace {

const std::vector<std::string> warpFiles = {"x\\teki04.x", "t\\warp.png"};

// The translation row of a recorded SetTransform (slot, then 16 elements).
XY translationXY(const gfx::GfxCall& call) { return {call.args[13], call.args[14]}; }

}  // namespace

TEST(WarpGroupDrawing, TheFlashStaysAtTheStartingPointForNineFrames) {
    DeviceFixture f;
    writeMiniPack(f.dir(), warpFiles);
    WarpGroup warp;
    warp.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(warp.load());
    EXPECT_TRUE(takeShownBoxes().empty());
    warp.reset(0);
    warp.placements[0].active = 1;
    platform::srand(seedForCandidate(3));
    f.device()->BeginScene();
    for (int frame = 1; frame <= 12; ++frame) {
        gfx::setCurrentFrame(frame);
        warp.update(0, 0, Placement{});
        warp.drawSlot(0);
        std::vector<const gfx::GfxCall*> transforms;
        for (const auto& c : gfx::frameCalls())
            if (c.op == "SetTransform") transforms.push_back(&c);
        const bool flash = frame <= 9;
        EXPECT_EQ(DeviceFixture::countOp("DrawPrimitive"), flash ? 1 : 0) << "frame " << frame;
        EXPECT_EQ(DeviceFixture::countOp("DrawSubset"), 2) << "frame " << frame;  // the unit, always
        ASSERT_EQ(transforms.size(), flash ? 2u : 1u);
        const auto unit = translationXY(*transforms[0]);
        EXPECT_EQ(unit.x, 7.0);  // the unit already stands on P4
        EXPECT_EQ(unit.y, 3.0);
        EXPECT_EQ(transforms[0]->args[15], 90.0);
        if (flash) {
            const auto at = translationXY(*transforms[1]);
            EXPECT_EQ(at.x, -7.0);
            EXPECT_EQ(at.y, 6.0);
            EXPECT_EQ(transforms[1]->args[15], 100.0);
        }
    }
    f.device()->EndScene();
}

TEST(WarpGroupLoading, AMissingMeshSkipsTheTextureButTheQuadIsBuilt) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\warp.png"});
    WarpGroup warp;
    warp.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(warp.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Enemy4ロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_NE(warp.graphics.quadBuffer, nullptr);
    EXPECT_EQ(warp.graphics.quadTexture, nullptr);
}

TEST(WarpGroupLoading, AMissingFlashImageIsReportedAfterTheMesh) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\teki04.x"});
    WarpGroup warp;
    warp.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(warp.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "ワープ画像");
    EXPECT_NE(warp.graphics.mesh, nullptr);
}
