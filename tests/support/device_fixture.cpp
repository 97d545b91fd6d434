#include "support/device_fixture.h"

#include "platform/backend.h"
#include "platform/gfx/gfx_config.h"
#include "platform/headless/headless_backend.h"
#include "platform/real.h"
#include "support/run_game.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

LRESULT quitOnDestroy(HWND, unsigned message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return 0;
}

}  // namespace

DeviceFixture::DeviceFixture(bool withDevice) : dir_(makeTempDir("device")), previous_(fs::current_path()) {
    fs::current_path(dir_);
    installBackend(std::make_unique<HeadlessBackend>(InputScript{}, 0, 0));
    gfx::GfxConfig config;
    config.headless = true;
    config.recordCalls = true;
    gfx::configure(config);
    WNDCLASSEX wc;
    wc.className = "test";
    wc.lpfnWndProc = quitOnDestroy;
    RegisterClassEx(wc);
    window_ = CreateWindowEx("test", "TERVO", 1024, 768);
    if (withDevice) {
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS params;
        d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                           &params, &device_);
    }
    takeShownBoxes();
    gfx::setCurrentFrame(0);
}

DeviceFixture::~DeviceFixture() {
    if (device_) device_->Release();
    if (d3d_) d3d_->Release();
    DestroyWindow(window_);
    MSG msg;
    while (PeekMessage(&msg)) {}
    takeShownBoxes();
    fpu::setSinglePrecision(false);
    fs::current_path(previous_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::vector<std::string> DeviceFixture::ops() {
    std::vector<std::string> out;
    for (const auto& c : gfx::frameCalls()) out.push_back(c.op);
    return out;
}

long DeviceFixture::countOp(const std::string& op) {
    long n = 0;
    for (const auto& c : gfx::frameCalls()) n += c.op == op;
    return n;
}
