#include "input/joystick.h"

using namespace platform;

namespace {

// One controller at most, for the whole process.
IDirectInput8* g_joystickInput = nullptr;
IDirectInputDevice8* g_joystickDevice = nullptr;
DIDEVCAPS g_caps{sizeof(DIDEVCAPS), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

bool chooseController(const DIDEVICEINSTANCE* instance, void*) {
    if (FAILED(g_joystickInput->CreateDevice(DeviceGuid::Joystick, &g_joystickDevice,
                                             instance->instance)))
        return DIENUM_CONTINUE;
    if (SUCCEEDED(g_joystickDevice->GetCapabilities(&g_caps))) return DIENUM_STOP;
    g_joystickDevice->Release();
    g_joystickDevice = nullptr;
    return DIENUM_CONTINUE;
}

bool setAxisRange(const DIDEVICEOBJECTINSTANCE* object, void*) {
    DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), object->dwType, DIPH_BYID},
                      -1000, 1000};
    if (FAILED(g_joystickDevice->SetProperty(DIPROP_RANGE, &range.diph))) return DIENUM_STOP;
    return DIENUM_CONTINUE;
}

}  // namespace

Joystick::~Joystick() {
    if (g_joystickDevice) {
        g_joystickDevice->Unacquire();
        g_joystickDevice->Release();
        g_joystickDevice = nullptr;
    }
    if (g_joystickInput) {
        g_joystickInput->Release();
        g_joystickInput = nullptr;
    }
}

int Joystick::init(HINSTANCE instance, HWND window) {
    instance_ = instance;
    window_ = window;
    if (FAILED(DirectInput8Create(instance, DIRECTINPUT_VERSION, &g_joystickInput))) return 0;
    if (FAILED(g_joystickInput->EnumDevices(DI8DEVCLASS_GAMECTRL, chooseController, nullptr,
                                            DIEDFL_ATTACHEDONLY)))
        return 0;
    if (!g_joystickDevice) return 0;
    if (FAILED(g_joystickDevice->SetDataFormat(c_dfDIJoystick))) return 0;
    if (FAILED(g_joystickDevice->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND)))
        return 0;
    if (FAILED(g_joystickDevice->EnumObjects(setAxisRange, nullptr, DIDFT_AXIS))) return 0;
    DIPROPDWORD axisMode{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE},
                         DIPROPAXISMODE_ABS};
    if (FAILED(g_joystickDevice->SetProperty(DIPROP_AXISMODE, &axisMode.diph))) return 0;
    g_joystickDevice->Acquire();
    return 1;
}

InputState Joystick::decode(const DIJOYSTATE& js) {
    InputState s;
    const std::int32_t x = js.lX, y = js.lY;
    // Only the exact end values count: there is no dead zone or threshold.
    if (y == -1000) s.direction = DirUp;
    if (y == 1000) s.direction = DirDown;
    if (x == -1000) s.direction = DirLeft;
    if (x == 1000) s.direction = DirRight;
    if (x == -1000 && y == -1000) s.direction = DirUpLeft;
    if (x == -1000 && y == 1000) s.direction = DirDownLeft;
    if (x == 1000 && y == -1000) s.direction = DirUpRight;
    if (x == 1000 && y == 1000) s.direction = DirDownRight;
    if (js.rgbButtons[3] & 0x80) s.action = ActShot;
    if (js.rgbButtons[2] & 0x80) s.action = ActMissile;
    if (js.rgbButtons[1] & 0x80) s.action = ActC;
    return s;
}

void Joystick::poll(std::uint8_t hasFocus) {
    state_ = InputState{};
    if (!g_joystickDevice) return;
    if (FAILED(g_joystickDevice->Poll())) {
        // Lost input is re-acquired a bounded number of times, so a frame
        // never stalls on a controller that stays away.
        HRESULT hr = g_joystickDevice->Acquire();
        for (int tries = 1; hasFocus == 1 && hr == DIERR_INPUTLOST && tries < maxReacquire; ++tries)
            hr = g_joystickDevice->Acquire();
    }
    DIJOYSTATE js{};
    const HRESULT hr = g_joystickDevice->GetDeviceState(sizeof js, &js);
    if (FAILED(hr)) {
        if (hasFocus == 1 && hr == DIERR_INPUTLOST) g_joystickDevice->Acquire();
        return;
    }
    state_ = decode(js);
}
