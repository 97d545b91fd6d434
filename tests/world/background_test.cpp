// The corridor: its draw calls part by part, the texture scroll that wraps
// after drawing (in single precision, as in play), the slot index that does
// not matter, and the load's buffers and failure reports.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/background.h"

using namespace platform;

namespace {

const std::vector<std::string> backFiles = {"t\\back1.png", "t\\back2.png", "t\\back3.png", "t\\back4.png"};

struct LoadedBackground {
    DeviceFixture fixture;
    Background background;

    explicit LoadedBackground(const std::vector<std::string>& files = backFiles) {
        fpu::setSinglePrecision(true);
        writeMiniPack(fixture.dir(), files);
        background.graphics.attach(fixture.device(), fixture.window(), nullptr);
        gfx::setCurrentFrame(0);
        background.load();
        fixture.device()->BeginScene();
    }
    ~LoadedBackground() { fixture.device()->EndScene(); }

    // One frame's draw; returns its recorded calls.
    std::vector<gfx::GfxCall> draw(int slot) {
        gfx::setCurrentFrame(++frame);
        background.drawSlot(slot);
        const gfx::CallList calls = gfx::frameCalls();
        return {calls.begin(), calls.end()};
    }
    std::uint64_t frame = 0;
};

// The texture transform's v (row 3, column 2) of a frame's draw.
float drawnV(gfx::CallList calls) {
    for (const auto& c : calls)
        if (c.op == "SetTransform" && c.args[0] == double(D3DTS_TEXTURE0)) return float(c.args[1 + 2 * 4 + 1]);
    ADD_FAILURE() << "no texture transform";
    return 0;
}

QuadVertex vertexOf(IDirect3DVertexBuffer9* buffer, int n) {
    QuadVertex v;
    std::memcpy(&v, buffer->bytes() + n * sizeof(QuadVertex), sizeof v);
    return v;
}

}  // namespace

TEST(Background, ScrollRunsDownToMinusOneAndWrapsToZeroAfterDrawing) {
    LoadedBackground b;
    // The offset is shared by the whole run and never reset: first draw
    // until it wraps, wherever earlier draws left it.
    for (int f = 0; f < 600; ++f) {
        b.draw(0);
        if (backgroundV() == 0.0) break;
    }
    ASSERT_EQ(backgroundV(), 0.0);

    // A whole cycle from 0, each step rounded to single precision.
    float expected = 0.0f;
    int frames = 0;
    float lowest = 0.0f;
    while (frames < 600) {
        const float v = drawnV(b.draw(frames % 2 ? 0 : 5));
        ++frames;
        ASSERT_EQ(v, expected) << "frame " << frames;
        EXPECT_GE(v, -1.0f);
        lowest = v;
        expected = float(double(expected) - 0.002);
        if (expected < -1.0f) {
            // Replaced by 0 in the same frame that drew the last value.
            EXPECT_EQ(backgroundV(), 0.0);
            break;
        }
        EXPECT_EQ(backgroundV(), double(expected));
    }
    // 0 down to just above -1: 501 frames in single precision.
    EXPECT_EQ(frames, 501);
    EXPECT_GT(lowest, -1.0f);
    EXPECT_LT(lowest, -0.999f);
    EXPECT_EQ(drawnV(b.draw(0)), 0.0f);
}

TEST(Background, DrawsFloorWallsAndCeilingInOrderWithTheScrollAroundThem) {
    LoadedBackground b;
    const auto calls = b.draw(0);
    std::vector<std::string> expectedOps = {"SetTextureStageState", "SetTransform"};
    for (int part = 0; part < 4; ++part)
        for (const char* op : {"SetTransform", "SetTexture", "SetStreamSource", "SetFVF", "DrawPrimitive", "SetTexture"})
            expectedOps.push_back(op);
    expectedOps.push_back("SetTextureStageState");
    ASSERT_EQ(DeviceFixture::ops(), expectedOps);

    EXPECT_EQ(calls[0].args, (std::vector<double>{0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2}));
    EXPECT_EQ(calls[1].args[0], double(D3DTS_TEXTURE0));
    EXPECT_EQ(calls[1].args[1 + 2 * 4], 0.0);  // u stays 0
    EXPECT_EQ(calls.back().args, (std::vector<double>{0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE}));

    struct Part {
        int slot, texture;
        double x, y, z, cos, sin;
    };
    const Part parts[4] = {{0, 0, 0, -2, 25, 1, 0},     // floor
                           {3, 1, 10, 8, 25, 0, 1},     // right wall, 90 degrees
                           {4, 2, -10, 8, 25, 0, -1},   // left wall, 270 degrees
                           {5, 3, 0, 17.5, 25, -1, 0}};  // ceiling, 180 degrees
    for (int k = 0; k < 4; ++k) {
        const Part& part = parts[k];
        const auto* c = &calls[2 + 6 * k];
        const std::vector<double>& world = c[0].args;
        EXPECT_EQ(world[0], double(D3DTS_WORLD));
        EXPECT_NEAR(world[1], part.cos, 1e-6) << k;  // _11
        EXPECT_NEAR(world[2], part.sin, 1e-6) << k;  // _12
        EXPECT_EQ(world[11], 1.0) << k;               // _33: turned about z only
        EXPECT_EQ(world[13], part.x) << k;
        EXPECT_EQ(world[14], part.y) << k;
        EXPECT_EQ(world[15], part.z) << k;
        EXPECT_EQ(c[1].args, (std::vector<double>{0, double(b.background.textures[part.texture]->handle())}));
        EXPECT_EQ(c[2].args, (std::vector<double>{0, double(b.background.buffers[part.slot]->handle()), 0, 24}));
        EXPECT_EQ(c[3].args, (std::vector<double>{double(QuadFvf)}));
        EXPECT_EQ(c[4].args, (std::vector<double>{D3DPT_TRIANGLESTRIP, 0, 2}));
        EXPECT_EQ(c[5].args, (std::vector<double>{0, 0}));
    }
}

TEST(Background, TheSlotIndexMakesNoDifference) {
    LoadedBackground b;
    const auto first = b.draw(0);
    for (int slot : {3, 5, 1}) {
        const auto calls = b.draw(slot);
        ASSERT_EQ(calls.size(), first.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].op, first[i].op);
            if (i == 1) continue;  // the texture transform: the scroll has moved on
            EXPECT_EQ(calls[i].args, first[i].args) << "slot " << slot << " call " << i;
        }
    }
}

TEST(Background, LoadWrapsTheTextureAddressesAndFillsSixBuffers) {
    DeviceFixture f;
    writeMiniPack(f.dir(), backFiles);
    Background background;
    background.graphics.attach(f.device(), f.window(), nullptr);
    gfx::setCurrentFrame(1);
    EXPECT_TRUE(background.load());
    const auto& calls = gfx::frameCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "SetSamplerState");
    EXPECT_EQ(calls[0].args, (std::vector<double>{0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}));
    EXPECT_EQ(calls[1].args, (std::vector<double>{0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP}));
    EXPECT_EQ(DeviceFixture::countOp("CreateVertexBuffer"), 6);
    EXPECT_TRUE(takeShownBoxes().empty());

    // Floor, walls and ceiling share the horizontal quad; 1 and 2 are upright.
    const QuadVertex flat = {10, 0, -50, 0xFFFFFFFF, 1, 1}, upright = {10, 10, -50, 0xFFFFFFFF, 1, 1};
    for (int i = 0; i < 6; ++i) {
        const QuadVertex v3 = vertexOf(background.buffers[i], 3);
        EXPECT_EQ(std::memcmp(&v3, (i == 1 || i == 2) ? &upright : &flat, sizeof v3), 0) << i;
    }
    // The slots: all in play from construction, cue 100, at z 0.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(background.isActive(i), 1);
        EXPECT_EQ(background.cueOf(i), 100);
        EXPECT_EQ(background.placements[i].z, 0.0);
    }
}

TEST(Background, AMissingTextureIsReportedAndEndsTheLoad) {
    LoadedBackground b({"t\\back1.png", "t\\back2.png", "t\\back4.png"});
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "背景ロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_NE(b.background.textures[1], nullptr);
    EXPECT_EQ(b.background.textures[2], nullptr);
    EXPECT_EQ(b.background.textures[3], nullptr);  // not attempted
}

TEST(Background, AFailedBufferIsReportedAndItsPartIsNotDrawn) {
    DeviceFixture f;
    writeMiniPack(f.dir(), backFiles);
    Background background;
    background.graphics.attach(f.device(), f.window(), nullptr);
    gfx::failVertexBuffers(1);  // the floor's
    EXPECT_TRUE(background.load());
    const auto errors = takeShownBoxes();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "エラー");
    EXPECT_EQ(background.buffers[0], nullptr);
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    background.drawSlot(0);
    EXPECT_EQ(DeviceFixture::countOp("DrawPrimitive"), 3);
    EXPECT_EQ(DeviceFixture::countOp("SetTransform"), 5);  // the floor's transform is still set
    f.device()->EndScene();
}
