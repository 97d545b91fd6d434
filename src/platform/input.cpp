#include "platform/input.h"

#include <cmath>
#include <cstring>

#include "platform/backend.h"
#include "platform/replay/replay.h"

namespace platform {

namespace {
std::uint8_t injectedKeys[256] = {};
bool anyInjected = false;

// The controllers attached at start-up, as a replay holds the count.
int joystickCount() {
    std::int64_t n;
    if (replay::playValue(replay::Kind::JoystickCount, n)) return static_cast<int>(n);
    n = backend().joystickCount();
    replay::recordValue(replay::Kind::JoystickCount, n);
    return static_cast<int>(n);
}

}  // namespace

void setInjectedKeys(const std::uint8_t* keys) {
    anyInjected = keys != nullptr;
    if (keys) std::memcpy(injectedKeys, keys, sizeof injectedKeys);
    else std::memset(injectedKeys, 0, sizeof injectedKeys);
}

HRESULT DirectInput8Create(HINSTANCE, std::uint32_t version, IDirectInput8** out) {
    if (version != DIRECTINPUT_VERSION || !out) return DIERR_INVALIDPARAM;
    *out = new IDirectInput8();
    return DI_OK;
}

HRESULT IDirectInput8::CreateDevice(DeviceGuid guid, IDirectInputDevice8** device, int instance) {
    if (!device) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (guid == DeviceGuid::Joystick && (instance < 0 || instance >= joystickCount()))
        return DIERR_DEVICENOTREG;
    *device = new IDirectInputDevice8(guid, instance);
    return DI_OK;
}

HRESULT IDirectInput8::EnumDevices(unsigned devClass, LPDIENUMDEVICESCALLBACK callback,
                                   void* context, unsigned) {
    if (devClass != DI8DEVCLASS_GAMECTRL || !callback) return DIERR_INVALIDPARAM;
    const int count = joystickCount();
    for (int i = 0; i < count; ++i) {
        DIDEVICEINSTANCE inst{i};
        if (callback(&inst, context) == DIENUM_STOP) break;
    }
    return DI_OK;
}

HRESULT IDirectInputDevice8::SetDataFormat(DataFormat format) {
    const bool matches = (format == DataFormat::Keyboard) == (kind_ == DeviceGuid::SysKeyboard);
    return matches ? DI_OK : DIERR_INVALIDPARAM;
}

HRESULT IDirectInputDevice8::SetCooperativeLevel(HWND, unsigned flags) {
    const bool exclusive = flags & DISCL_EXCLUSIVE, shared = flags & DISCL_NONEXCLUSIVE;
    return exclusive != shared ? DI_OK : DIERR_INVALIDPARAM;
}

HRESULT IDirectInputDevice8::SetProperty(Property prop, const DIPROPHEADER* header) {
    if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    switch (prop) {
        case Property::BufferSize:
        case Property::AxisMode:
            return header->dwSize == sizeof(DIPROPDWORD) ? DI_OK : DIERR_INVALIDPARAM;
        case Property::Range: {
            if (kind_ != DeviceGuid::Joystick || header->dwSize != sizeof(DIPROPRANGE) ||
                header->dwHow != DIPH_BYID || header->dwObj > 1)
                return DIERR_INVALIDPARAM;
            const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
            if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
            rangeMin_[header->dwObj] = range->lMin;
            rangeMax_[header->dwObj] = range->lMax;
            return DI_OK;
        }
    }
    return DIERR_INVALIDPARAM;
}

HRESULT IDirectInputDevice8::GetCapabilities(DIDEVCAPS* caps) {
    if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) return DIERR_INVALIDPARAM;
    const std::uint32_t size = caps->dwSize;
    std::memset(caps, 0, sizeof *caps);
    caps->dwSize = size;
    caps->dwAxes = kind_ == DeviceGuid::Joystick ? 2 : 0;
    caps->dwButtons = kind_ == DeviceGuid::Joystick ? 32 : 256;
    return DI_OK;
}

HRESULT IDirectInputDevice8::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACK callback, void* context,
                                         unsigned flags) {
    if (!callback || flags != DIDFT_AXIS) return DIERR_INVALIDPARAM;
    if (kind_ != DeviceGuid::Joystick) return DI_OK;
    // The two axes the game reads: x (0) and y (1).
    for (std::uint32_t axis = 0; axis < 2; ++axis) {
        DIDEVICEOBJECTINSTANCE obj{axis};
        if (callback(&obj, context) == DIENUM_STOP) break;
    }
    return DI_OK;
}

HRESULT IDirectInputDevice8::Acquire() {
    const auto kind = kind_ == DeviceGuid::SysKeyboard ? replay::Kind::KeyboardAcquire : replay::Kind::JoystickAcquire;
    std::int64_t played;
    if (replay::playValue(kind, played)) return static_cast<HRESULT>(played);
    const HRESULT hr = acquireLive();
    replay::recordValue(kind, hr);
    return hr;
}

HRESULT IDirectInputDevice8::acquireLive() {
    if (!backend().foreground()) return DIERR_OTHERAPPHASPRIO;
    if (kind_ == DeviceGuid::Joystick && joystick_ >= backend().joystickCount())
        return DIERR_INPUTLOST;
    if (acquired_ && focusLossesAtAcquire_ == focusLosses()) return DI_NOEFFECT;
    acquired_ = true;
    focusLossesAtAcquire_ = focusLosses();
    return DI_OK;
}

HRESULT IDirectInputDevice8::Unacquire() {
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT IDirectInputDevice8::checkAcquired() {
    if (!acquired_) return DIERR_NOTACQUIRED;
    if (focusLossesAtAcquire_ != focusLosses() || !backend().foreground()) {
        acquired_ = false;
        return DIERR_INPUTLOST;
    }
    return DI_OK;
}

HRESULT IDirectInputDevice8::Poll() {
    if (kind_ != DeviceGuid::Joystick) return DI_NOEFFECT;
    std::int64_t played;
    if (replay::playValue(replay::Kind::JoystickPoll, played)) return static_cast<HRESULT>(played);
    const HRESULT hr = checkAcquired();
    replay::recordValue(replay::Kind::JoystickPoll, hr);
    return hr;
}

HRESULT IDirectInputDevice8::GetDeviceState(std::uint32_t size, void* data) {
    if (!data) return DIERR_INVALIDPARAM;
    const bool keyboard = kind_ == DeviceGuid::SysKeyboard;
    if (size != (keyboard ? 256 : sizeof(DIJOYSTATE))) return DIERR_INVALIDPARAM;
    // What the game read (the autopilot's keys included) is what a replay holds.
    auto* bytes = static_cast<std::uint8_t*>(data);
    const auto kind = keyboard ? replay::Kind::KeyboardState : replay::Kind::JoystickState;
    HRESULT hr;
    if (replay::playState(kind, hr, bytes, size)) return hr;
    hr = keyboard ? keyboardStateLive(bytes) : joystickStateLive(static_cast<DIJOYSTATE*>(data));
    replay::recordState(kind, hr, bytes, size);
    return hr;
}

HRESULT IDirectInputDevice8::keyboardStateLive(std::uint8_t* keys) {
    if (HRESULT hr = checkAcquired(); FAILED(hr)) return hr;
    std::memset(keys, 0, 256);
    backend().keyboardState(keys);
    if (anyInjected)
        for (int i = 0; i < 256; ++i) keys[i] |= injectedKeys[i];
    return DI_OK;
}

HRESULT IDirectInputDevice8::joystickStateLive(DIJOYSTATE* state) {
    if (HRESULT hr = checkAcquired(); FAILED(hr)) return hr;
    JoystickReading reading;
    if (!backend().joystickState(joystick_, reading)) {
        acquired_ = false;
        return DIERR_INPUTLOST;
    }
    std::memset(state, 0, sizeof *state);
    // Full deflection lands exactly on the range's ends.
    auto scale = [&](double v, int axis) {
        const double lo = rangeMin_[axis], hi = rangeMax_[axis];
        const double mid = (lo + hi) / 2, half = (hi - lo) / 2;
        return static_cast<std::int32_t>(std::lround(mid + v * half));
    };
    state->lX = scale(reading.x, 0);
    state->lY = scale(reading.y, 1);
    for (auto& pov : state->rgdwPOV) pov = 0xFFFFFFFFu;
    std::memcpy(state->rgbButtons, reading.buttons, sizeof state->rgbButtons);
    return DI_OK;
}

}  // namespace platform
