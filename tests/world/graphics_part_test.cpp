// The toolkit's load convention and its drawing steps on the recording
// device: failure reports in load order, the quad buffer's own error box,
// materials before each subset.
#include <gtest/gtest.h>

#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"
#include "world/graphics_part.h"

using namespace platform;

namespace {

// A part attached to the fixture's device and window.
struct Part : GraphicsPart {
    explicit Part(const DeviceFixture& f) { attach(f.device(), f.window(), nullptr); }
};

}  // namespace

TEST(GraphicsPart, EachMissingFileIsReportedInLoadOrderAndTheOthersStillLoad) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\boss2.x", "t\\back1.png"});
    Part boss(f), boss2(f), background(f), effect(f);
    EXPECT_FALSE(boss.loadMesh("x\\boss.x", "Bossロスト"));
    EXPECT_TRUE(boss2.loadMesh("x\\boss2.x", "Boss2ロスト"));
    IDirect3DTexture9* texture = nullptr;
    EXPECT_TRUE(background.loadTexture("t\\back1.png", 0xFF000000, "背景ロスト", &texture));
    EXPECT_FALSE(effect.loadTexture("t\\effect.png", 0xFF000000, "背景ロスト", &effect.quadTexture));
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Bossロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_EQ(boxes[1].text, "背景ロスト");
    EXPECT_EQ(boss.mesh, nullptr);
    EXPECT_NE(boss2.mesh, nullptr);
    EXPECT_EQ(boss2.materialCount, 2u);
    EXPECT_EQ(effect.quadTexture, nullptr);
    EXPECT_TRUE(anyLoadFailed);
    texture->Release();
    boss2.releaseMesh();
    EXPECT_EQ(boss2.mesh, nullptr);
    EXPECT_EQ(boss2.materialsBuffer, nullptr);
}

TEST(GraphicsPart, DrawMeshSetsEachMaterialBeforeItsSubset) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\beam3.x"});
    Part part(f);
    ASSERT_TRUE(part.loadMesh("x\\beam3.x", "tamaロスト"));
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    part.drawMesh();
    EXPECT_EQ(DeviceFixture::ops(),
              (std::vector<std::string>{"SetMaterial", "DrawSubset", "SetMaterial", "DrawSubset"}));
    const auto& calls = gfx::frameCalls();
    EXPECT_EQ(calls[1].args[0], 0.0);  // subset 0, then 1
    EXPECT_EQ(calls[3].args[0], 1.0);
    // Without materials nothing is drawn and nothing fails.
    part.materialCount = 0;
    gfx::setCurrentFrame(2);
    part.drawMesh();
    EXPECT_TRUE(DeviceFixture::ops().empty());
    f.device()->EndScene();
    part.releaseMesh();
}

TEST(GraphicsPart, AFailedQuadBufferShowsErrorAndTheQuadIsSkipped) {
    DeviceFixture f;
    Part part(f);
    gfx::failVertexBuffers(1);
    EXPECT_FALSE(part.createQuadBuffer());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "エラー");
    EXPECT_EQ(boxes[0].caption, "");
    WINDOWPLACEMENT wp;
    EXPECT_TRUE(GetWindowPlacement(f.window(), &wp));  // the window lives on
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    part.drawQuad();
    EXPECT_TRUE(DeviceFixture::ops().empty());
    f.device()->EndScene();
}

TEST(GraphicsPart, DrawQuadBindsItsTextureDrawsAStripAndUnbinds) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"t\\warp.png"});
    Part part(f);
    ASSERT_TRUE(part.createQuadBuffer());
    ASSERT_TRUE(part.loadTexture("t\\warp.png", 0xFF000000, "ワープ画像", &part.quadTexture));
    const QuadVertex quad[4] = {{-1, 1, 0, 0xFFFFFFFF, 0, 0}, {1, 1, 0, 0xFFFFFFFF, 1, 0},
                                {-1, -1, 0, 0xFFFFFFFF, 0, 1}, {1, -1, 0, 0xFFFFFFFF, 1, 1}};
    ASSERT_TRUE(writeQuad(part.quadBuffer, quad));
    f.device()->BeginScene();
    gfx::setCurrentFrame(1);
    part.drawQuad();
    EXPECT_EQ(DeviceFixture::ops(), (std::vector<std::string>{"SetTexture", "SetStreamSource", "SetFVF",
                                                              "DrawPrimitive", "SetTexture"}));
    const auto& calls = gfx::frameCalls();
    EXPECT_EQ(calls[3].args[0], 5.0);  // D3DPT_TRIANGLESTRIP
    EXPECT_EQ(calls[3].args[2], 2.0);  // two triangles
    f.device()->EndScene();
    part.releaseQuad();
    EXPECT_EQ(part.quadBuffer, nullptr);
    EXPECT_EQ(part.quadTexture, nullptr);
}
