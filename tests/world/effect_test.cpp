// The explosion billboards: the length of a run after a reset and on later
// runs, the cells they show, the pool of twenty, and drawing with depth
// testing off.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/effect.h"

using namespace platform;

namespace {

// An effect loaded on the fixture's device, reset as a game start leaves it.
struct LoadedEffect {
    DeviceFixture fixture;
    Effect effect{"t\\effect.png"};

    LoadedEffect() {
        fpu::setSinglePrecision(true);  // as once the display device exists
        writeMiniPack(fixture.dir(), {"t\\effect.png"});
        effect.graphics.attach(fixture.device(), fixture.window(), nullptr);
        effect.load();
        effect.reset(0);
        fixture.device()->BeginScene();
    }
    ~LoadedEffect() { fixture.device()->EndScene(); }

    // The billboard as the last draw left it.
    QuadVertex vertex(int n) const {
        QuadVertex v;
        std::memcpy(&v, effect.graphics.quadBuffer->bytes() + n * sizeof(QuadVertex), sizeof v);
        return v;
    }
};

Placement at(Real x, Real y, Real z) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    return p;
}

// Draws slot i until it frees itself; the top-left texture coordinate of
// every drawn frame, in order.
std::vector<std::pair<float, float>> runToEnd(LoadedEffect& e, int i) {
    std::vector<std::pair<float, float>> cells;
    while (e.effect.isActive(i) && cells.size() < 200) {
        e.effect.drawSlot(i);
        const QuadVertex v0 = e.vertex(0);
        cells.emplace_back(v0.u, v0.v);
    }
    return cells;
}

}  // namespace

TEST(Effect, ARunLasts61FramesAfterAResetAnd65OnLaterRuns) {
    LoadedEffect e;
    e.effect.spawnAt(at(1, 5, 40));
    EXPECT_EQ(runToEnd(e, 0).size(), 61u);
    EXPECT_EQ(e.effect.isActive(0), 0);
    // The run leaves the start cell with a full delay, so the next run holds
    // its first cell four frames longer.
    e.effect.spawnAt(at(1, 5, 40));
    EXPECT_EQ(runToEnd(e, 0).size(), 65u);
    e.effect.spawnAt(at(1, 5, 40));
    EXPECT_EQ(runToEnd(e, 0).size(), 65u);
    // A new game parks every slot at the start cell and starts it afresh.
    e.effect.spawnAt(at(1, 5, 40));
    e.effect.drawSlot(0);
    e.effect.reset(0);
    EXPECT_EQ(e.effect.isActive(0), 0);
    EXPECT_EQ(e.effect.placements[0].y, 3.0);
    EXPECT_EQ(e.effect.placements[0].z, 30.0);
    e.effect.spawnAt(at(1, 5, 40));
    EXPECT_EQ(runToEnd(e, 0).size(), 61u);
}

TEST(Effect, CellsRunLeftToRightTopToBottomFourFramesEach) {
    LoadedEffect e;
    e.effect.spawnAt(at(0, 0, 0));
    const auto first = runToEnd(e, 0);
    e.effect.spawnAt(at(0, 0, 0));
    const auto later = runToEnd(e, 0);
    // Expected: cell 0 for `lead` frames, then cells 1 to 15 for 4 each.
    auto expected = [](int lead) {
        std::vector<std::pair<float, float>> cells(lead, {0.0f, 0.0f});
        for (int cell = 1; cell < 16; ++cell)
            for (int f = 0; f < 4; ++f) cells.emplace_back((cell % 4) * 0.25f, (cell / 4) * 0.25f);
        return cells;
    };
    EXPECT_EQ(first, expected(1));
    EXPECT_EQ(later, expected(5));
}

TEST(Effect, TheBillboardShowsExactlyTheCurrentCell) {
    LoadedEffect e;
    e.effect.spawnAt(at(0, 0, 0));
    // Step to the cell in column 2, row 3 (cell 14: 1 + 13 * 4 frames).
    for (int f = 0; f < 1 + 13 * 4; ++f) e.effect.drawSlot(0);
    e.effect.drawSlot(0);
    const QuadVertex corners[4] = {{-5.5f, 5.5f, 0, 0xFFFFFFFF, 0.5f, 0.75f},
                                   {5.5f, 5.5f, 0, 0xFFFFFFFF, 0.75f, 0.75f},
                                   {-5.5f, -5.5f, 0, 0xFFFFFFFF, 0.5f, 1.0f},
                                   {5.5f, -5.5f, 0, 0xFFFFFFFF, 0.75f, 1.0f}};
    for (int n = 0; n < 4; ++n) {
        const QuadVertex v = e.vertex(n);
        EXPECT_EQ(std::memcmp(&corners[n], &v, sizeof v), 0) << n;
    }
}

TEST(Effect, TwentyRunAtOnceAndATwentyFirstIsDropped) {
    LoadedEffect e;
    EXPECT_EQ(e.effect.slotCount, 1);  // the World's update looks at slot 0 only
    for (int i = 0; i < 20; ++i) e.effect.spawnAt(at(i, 2 * i, 3 * i));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(e.effect.isActive(i), 1);
        EXPECT_EQ(e.effect.placements[i].x, double(i));
        EXPECT_EQ(e.effect.placements[i].z, double(3 * i));
    }
    const std::vector<Placement> before = e.effect.placements;
    e.effect.spawnAt(at(99, 99, 99));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(e.effect.placements[i].x, before[i].x) << i;
        EXPECT_EQ(e.effect.placements[i].y, before[i].y) << i;
    }
    // Once slot 7 has finished, the next explosion takes it, and its
    // counters stay where the finished run left them.
    runToEnd(e, 7);
    e.effect.spawnAt(at(-4, 6, 12));
    EXPECT_EQ(e.effect.isActive(7), 1);
    EXPECT_EQ(e.effect.placements[7].x, -4.0);
    EXPECT_EQ(e.effect.placements[7].y, 6.0);
    EXPECT_EQ(e.effect.placements[7].z, 12.0);
    EXPECT_EQ(e.effect.frameDelay[7], 4);
    EXPECT_EQ(e.effect.column[7], 0);
    EXPECT_EQ(e.effect.row[7], 0);
}

TEST(Effect, DrawsTwentyUnitsDeeperWithDepthTestingOff) {
    LoadedEffect e;
    e.effect.spawnAt(at(-3.5, 7.25, 11.5));
    gfx::setCurrentFrame(1);
    e.effect.drawSlot(0);
    EXPECT_EQ(DeviceFixture::ops(),
              (std::vector<std::string>{"SetRenderState", "SetTransform", "SetTexture", "SetStreamSource",
                                        "SetFVF", "DrawPrimitive", "SetTexture", "SetRenderState"}));
    const auto& calls = gfx::frameCalls();
    EXPECT_EQ(calls[0].args, (std::vector<double>{D3DRS_ZENABLE, 0}));
    EXPECT_EQ(calls[7].args, (std::vector<double>{D3DRS_ZENABLE, 1}));
    // The world matrix: unturned, translated to (x, y, z + 20).
    const std::vector<double>& world = calls[1].args;
    EXPECT_EQ(world[0], double(D3DTS_WORLD));
    EXPECT_EQ(world[1], 1.0);
    EXPECT_EQ(world[6], 1.0);
    EXPECT_EQ(world[11], 1.0);
    EXPECT_EQ(world[13], -3.5);
    EXPECT_EQ(world[14], 7.25);
    EXPECT_EQ(world[15], 31.5);
    EXPECT_EQ(calls[2].args[1], double(e.effect.graphics.quadTexture->handle()));
    EXPECT_EQ(calls[5].args, (std::vector<double>{D3DPT_TRIANGLESTRIP, 0, 2}));
    EXPECT_TRUE(e.fixture.device()->state().zEnable);  // back on for the meshes
}

TEST(Effect, AMissingSheetIsReportedAsTheBackgroundsText) {
    DeviceFixture f;
    Effect effect("t\\effect2.png");
    effect.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(effect.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "背景ロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_EQ(effect.graphics.quadBuffer, nullptr);  // the step ended at the texture
}
