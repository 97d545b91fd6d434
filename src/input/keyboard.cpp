#include "input/keyboard.h"

using namespace platform;

Keyboard::~Keyboard() {
    if (device_) {
        device_->Release();
        device_ = nullptr;
    }
    if (input_) {
        input_->Release();
        input_ = nullptr;
    }
}

void Keyboard::init(HINSTANCE instance, HWND window) {
    DirectInput8Create(instance, DIRECTINPUT_VERSION, &input_);
    if (!input_) return;
    input_->CreateDevice(DeviceGuid::SysKeyboard, &device_);
    if (!device_) return;
    device_->SetDataFormat(c_dfDIKeyboard);
    device_->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    device_->SetProperty(DIPROP_BUFFERSIZE, &bufferSize_.diph);
    device_->Acquire();
}

InputState Keyboard::decode(const std::uint8_t keys[256]) {
    auto down = [&](int key) { return (keys[key] & 0x80) != 0; };
    InputState s;
    if (down(DIK_UP)) s.direction = DirUp;
    if (down(DIK_DOWN)) s.direction = DirDown;
    if (down(DIK_RIGHT))
        s.direction = s.direction == DirUp ? DirUpRight : s.direction == DirDown ? DirDownRight : DirRight;
    if (down(DIK_LEFT))
        s.direction = s.direction == DirUp ? DirUpLeft : s.direction == DirDown ? DirDownLeft : DirLeft;
    if (down(DIK_Z)) s.action = ActShot;
    if (down(DIK_X)) s.action = ActMissile;
    if (down(DIK_C)) s.action = ActC;
    return s;
}

void Keyboard::read() {
    std::uint8_t keys[256] = {};
    if (device_) {
        const HRESULT hr = device_->GetDeviceState(sizeof keys, keys);
        if (FAILED(hr)) {
            // Lost or not acquired: ask again once; this frame reads no key.
            if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) device_->Acquire();
            for (auto& k : keys) k = 0;
        }
    }
    state_ = decode(keys);
}
