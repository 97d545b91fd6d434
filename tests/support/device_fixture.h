// A headless game window and display device on the recording backend, for
// in-process tests of code that draws or loads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/d3dx9.h"
#include "platform/os.h"

class DeviceFixture {
public:
    // Installs a headless backend, makes the window and (when `withDevice`)
    // a device; the working folder becomes a fresh temporary one.
    explicit DeviceFixture(bool withDevice = true);
    ~DeviceFixture();

    platform::HWND window() const { return window_; }
    platform::IDirect3DDevice9* device() const { return device_; }
    const std::string& dir() const { return dir_; }

    // The operation names of the current frame's recorded calls.
    static std::vector<std::string> ops();
    static long countOp(const std::string& op);

private:
    std::string dir_;
    std::filesystem::path previous_;
    platform::HWND window_ = nullptr;
    platform::IDirect3D9* d3d_ = nullptr;
    platform::IDirect3DDevice9* device_ = nullptr;
};
