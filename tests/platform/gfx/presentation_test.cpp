// Presentation: where the picture sits in the window, the 60 Hz schedule, and
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

TEST(Presentation, PacerKeepsSixtyFramesASecondBySkippingDrawsWhileBehind) {
    using Clock = gfx::FramePacer::Clock;
    using std::chrono::milliseconds;
    // A loop on a virtual clock: each frame costs `drawn` or `skipped` ms and
    // waits what the pacer says. Returns the virtual seconds of 600 frames.
    struct Run {
        double seconds = 0;
        int drawnFrames = 0, longestSkip = 0;
    };
    auto play = [](int drawnMs, int skippedMs) {
        gfx::FramePacer pacer;
        Clock::time_point now{};
        now += std::chrono::hours(1);
        const Clock::time_point start = now;
        Run r;
        int skipRun = 0;
        for (int i = 0; i < 600; ++i) {
            const bool drawn = pacer.beginFrame(now);
            r.drawnFrames += drawn;
            skipRun = drawn ? 0 : skipRun + 1;
            r.longestSkip = std::max(r.longestSkip, skipRun);
            now += milliseconds(drawn ? drawnMs : skippedMs);
            now += pacer.endFrame(now);
        }
        r.seconds = std::chrono::duration<double>(now - start).count();
        return r;
    };
    // Fast drawing: every frame drawn, each waiting out its slot.
    const Run fast = play(4, 4);
    EXPECT_EQ(fast.drawnFrames, 600);
    EXPECT_NEAR(fast.seconds, 10.0, 0.02);
    // Drawing at 25 ms a frame: the game still runs 60 frames a second,
    // drawing the frames it can, never skipping more than three in a row.
    const Run slow = play(25, 2);
    EXPECT_NEAR(slow.seconds, 10.0, 0.06);
    EXPECT_GT(slow.drawnFrames, 300);
    EXPECT_LT(slow.drawnFrames, 600);
    EXPECT_LE(slow.longestSkip, gfx::FramePacer::maxSkipped);
    // Drawing too slow even for that: every fourth frame is drawn, and the
    // game slows down rather than falling ever further behind.
    const Run hopeless = play(100, 2);
    EXPECT_EQ(hopeless.longestSkip, gfx::FramePacer::maxSkipped);
    EXPECT_NEAR(hopeless.drawnFrames, 150, 1);

    // After a stall (a pause, a dragged window) the schedule starts afresh:
    // the frame is drawn and the one after waits a whole slot again.
    gfx::FramePacer pacer;
    Clock::time_point t{};
    t += std::chrono::hours(1);
    pacer.beginFrame(t);
    t += pacer.endFrame(t + milliseconds(1)) + milliseconds(1);
    t += std::chrono::seconds(2);
    EXPECT_TRUE(pacer.beginFrame(t));
    EXPECT_EQ(pacer.endFrame(t + milliseconds(5)), pacer.period() - milliseconds(5));
    // With the display pacing the swaps, an early frame does not wait.
    EXPECT_EQ(pacer.endFrame(t + milliseconds(10), true), Clock::duration::zero());
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
