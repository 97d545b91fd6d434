// Presentation: where the picture sits in the window, the 60 Hz pacer, and
// the picture of a chosen frame written through Present.
#include <gtest/gtest.h>

#include <thread>

#include "gfx_test_util.h"

using namespace platform;
using namespace gfxtest;

namespace {

TEST(Presentation, PictureFillsTheLargest4By3AreaCentred) {
    const gfx::PictureRect same = gfx::fitPicture(1024, 768);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.y, 0);
    EXPECT_EQ(same.width, 1024);
    EXPECT_EQ(same.height, 768);
    const gfx::PictureRect wide = gfx::fitPicture(1920, 1080);  // bars left and right
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
    const gfx::PictureRect tall = gfx::fitPicture(1000, 1000);  // bars above and below
    EXPECT_EQ(tall.width, 1000);
    EXPECT_EQ(tall.height, 750);
    EXPECT_EQ(tall.y, 125);
    const gfx::PictureRect tiny = gfx::fitPicture(0, 0);
    EXPECT_GE(tiny.width, 1);
    EXPECT_GE(tiny.height, 1);
}

TEST(Presentation, PacerHoldsSixtyFramesASecondAndDoesNotRushAfterAStall) {
    gfx::FramePacer pacer;
    const auto period = pacer.period();
    EXPECT_NEAR(std::chrono::duration<double>(period).count(), 1.0 / 60, 1e-6);
    const auto start = gfx::FramePacer::Clock::now();
    pacer.wait();  // the first wait only starts the clock
    for (int i = 0; i < 12; ++i) pacer.wait();
    const auto elapsed = gfx::FramePacer::Clock::now() - start;
    EXPECT_GE(elapsed, 12 * period - std::chrono::milliseconds(1));
    EXPECT_LT(elapsed, 40 * period);  // generous: the machine may be busy
    // A long stall: the next frame starts afresh, the one after waits a period.
    std::this_thread::sleep_for(8 * period);
    EXPECT_EQ(pacer.wait(), gfx::FramePacer::Clock::duration::zero());
    const auto t0 = gfx::FramePacer::Clock::now();
    pacer.wait();
    EXPECT_GE(gfx::FramePacer::Clock::now() - t0, period - std::chrono::milliseconds(2));
}

TEST(Presentation, ScreenshotOfTheChosenFrameIsWrittenAtPresent) {
    const std::string path = scratchPath("frame3.png");
    std::remove(path.c_str());
    gfx::GfxConfig cfg;
    cfg.headless = true;
    cfg.screenshots = {{3, path}};
    gfx::configure(cfg);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp;
    IDirect3DDevice9* d = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &d))) {
        d3d->Release();
        gfx::configure({});
        GTEST_SKIP() << "no OpenGL 3.3 on this machine";
    }
    EXPECT_STREQ(d->backend().name(), "gl");  // pictures need the GL backend
    for (std::uint64_t frame = 0; frame < 5; ++frame) {
        gfx::setCurrentFrame(frame);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, frame == 3 ? 0xff88d9ff : 0xff000000, 1.0f, 0);
        d->BeginScene();
        d->EndScene();
        EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    }
    d->Release();
    d3d->Release();
    gfx::configure({});
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(gfx::readAssetFile(path.c_str(), file));
    gfx::MipLevel pic;
    bool alpha = false;
    ASSERT_TRUE(gfx::decodePng(file.data(), file.size(), pic, alpha));
    EXPECT_EQ(pic.width, 800);
    EXPECT_EQ(pic.height, 600);
    EXPECT_EQ(pic.rgba[0], 0x88);
    EXPECT_EQ(pic.rgba[1], 0xD9);
    EXPECT_EQ(pic.rgba[2], 0xFF);
    EXPECT_EQ(pic.rgba[3], 0xFF);
}

TEST(Presentation, VertexBufferCreationCanBeMadeToFail) {
    IDirect3DDevice9* d = recordingDevice();
    gfx::failVertexBuffers(1);
    IDirect3DVertexBuffer9* vb = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    EXPECT_TRUE(FAILED(d->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED,
                                             &vb, nullptr)));
    EXPECT_EQ(vb, nullptr);
    ASSERT_EQ(d->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED, &vb, nullptr),
              S_OK);
    EXPECT_EQ(vb->length(), 96u);
    vb->Release();
    d->Release();
}

}  // namespace
