// The score board: kills and the hit counter, the places it draws (a first
// place of 10 or more keeping the glyph before it), "max" at 50; the
// frame-rate readout's glyph quads.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gfx/gfx_config.h"
#include "player/frame_rate_readout.h"
#include "player/score_board.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

namespace {

// One board drawn in a frame of its own: per sprite image the image index,
// the source rectangle's left and top (-1 for the whole image) and x, y.
std::vector<std::vector<int>> drawBoard(ScoreBoard& board) {
    gfx::setCurrentFrame(gfx::currentFrame() + 1);
    board.draw();
    std::vector<std::vector<int>> out;
    const auto& calls = gfx::frameCalls();
    for (std::size_t i = 1; i < calls.size(); i += 2) {
        int image = 0;
        while (calls[i].args[0] != double(board.images[image]->handle())) ++image;
        out.push_back({image, int(calls[i].args[1]), int(calls[i].args[2]), int(calls[i - 1].args[12]),
                       int(calls[i - 1].args[13])});
    }
    return out;
}

}  // namespace

TEST(ScoreBoard, KillsAndTheHitCounterAsScoredAndDrawn) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\score.png", "t\\waku.png", "t\\hitwaku.png", "t\\hit.png", "t\\hitscore.png",
                            "t\\max.png"});
    ID3DXSprite* sprite = nullptr;
    D3DXCreateSprite(f.device(), &sprite);
    ScoreBoard b;
    b.graphics.attach(f.device(), f.window(), sprite);
    ASSERT_TRUE(b.load());
    f.device()->BeginScene();
    sprite->Begin(0);

    b.addKill();
    const std::vector<std::vector<int>> first = {
        {1, -1, -1, 500, 20}, {0, 0, 0, 500, 20},   {0, 0, 0, 537, 20},   {0, 0, 0, 574, 20},
        {0, 32, 0, 611, 20},  {0, 0, 0, 648, 20},   {0, 0, 0, 685, 20},   {0, 0, 0, 722, 20},
        {2, -1, -1, 628, 80}, {3, -1, -1, 692, 80}, {4, 0, 0, 628, 95},   {4, 32, 0, 658, 95}};
    EXPECT_EQ(drawBoard(b), first);
    for (int k = 0; k < 4; ++k) b.addKill();
    EXPECT_EQ(b.total, 150000);
    b.hits = 0;  // the ship was hit
    b.addKill();
    EXPECT_EQ(b.total, 160000);

    // Places of 8 and 9 come from the second row; 9 is the frame's last glyph.
    b.total = 89000000;
    b.hits = 49;
    auto drawn = drawBoard(b);
    EXPECT_EQ((std::vector<int>{drawn[1][1], drawn[1][2], drawn[2][1], drawn[2][2]}),
              (std::vector<int>{0, 32, 32, 32}));
    // A first place of 12 keeps the rectangle of that 9.
    b.total = 123450000;
    drawn = drawBoard(b);
    EXPECT_EQ(b.scoreDigits[0], 12);
    EXPECT_EQ((std::vector<int>{drawn[1][1], drawn[1][2], drawn[2][1]}), (std::vector<int>{32, 32, 96}));

    // The 50th kill: "max" replaces the label and the digits; +500000 each.
    b.addKill();
    const std::int32_t at50 = b.total;
    b.addKill();
    EXPECT_EQ(b.total - at50, 500000);
    drawn = drawBoard(b);
    ASSERT_EQ(drawn.size(), 10u);
    EXPECT_EQ(drawn[8], (std::vector<int>{2, -1, -1, 628, 80}));
    EXPECT_EQ(drawn[9], (std::vector<int>{5, -1, -1, 628, 80}));
    sprite->End();
    f.device()->EndScene();
    sprite->Release();
}

TEST(FrameRateReadout, DrawsUpToThreeGlyphsOneUnitApart) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\text.png"});
    FrameRateReadout r;
    r.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(r.load());
    f.device()->BeginScene();
    // The x of every glyph drawn, then the top-left texture corner of the last.
    auto draw = [&](std::int32_t rate) {
        r.setRate(rate);
        gfx::setCurrentFrame(gfx::currentFrame() + 1);
        r.drawSlot(0);
        std::vector<float> out;
        for (const auto& c : gfx::frameCalls())
            if (c.op == "SetTransform") out.push_back(float(c.args[13]));
        QuadVertex v;
        std::memcpy(&v, r.graphics.quadBuffer->bytes(), sizeof v);
        out.insert(out.end(), {v.u, v.v});
        return out;
    };
    EXPECT_EQ(draw(60), (std::vector<float>{-5, -4, 0, 0}));
    EXPECT_EQ(draw(7), (std::vector<float>{-5, 0.875f, 0}));
    EXPECT_EQ(draw(1239), (std::vector<float>{-5, -4, -3, 0.375f, 0}));
    EXPECT_EQ(draw(-8), (std::vector<float>{-4, 0, 0.125f}));  // the sign draws nothing
    f.device()->EndScene();
}
