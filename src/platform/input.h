// The DirectInput 8 calls the keyboard and joystick code makes, over the
// backend's key and controller state. Foreground devices lose their
// acquisition when the window loses the focus, and reads report that as
// DirectInput does (DIERR_INPUTLOST, then DIERR_NOTACQUIRED until re-acquired).
#pragma once

#include <cstdint>

#include "platform/os.h"
#include "platform/ref_counted.h"
#include "platform/win_types.h"

namespace platform {

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1;
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001E);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000C);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154);

constexpr std::uint32_t DIRECTINPUT_VERSION = 0x0800;

// Key codes (the physical key positions of a PC keyboard).
constexpr int DIK_ESCAPE = 0x01;
constexpr int DIK_Z = 0x2C;
constexpr int DIK_X = 0x2D;
constexpr int DIK_C = 0x2E;
constexpr int DIK_UP = 0xC8;
constexpr int DIK_LEFT = 0xCB;
constexpr int DIK_RIGHT = 0xCD;
constexpr int DIK_DOWN = 0xD0;

// Cooperative levels.
constexpr unsigned DISCL_EXCLUSIVE = 0x01;
constexpr unsigned DISCL_NONEXCLUSIVE = 0x02;
constexpr unsigned DISCL_FOREGROUND = 0x04;

enum class DeviceGuid { SysKeyboard, Joystick };
enum class DataFormat { Keyboard, Joystick };   // c_dfDIKeyboard, c_dfDIJoystick
constexpr DataFormat c_dfDIKeyboard = DataFormat::Keyboard;
constexpr DataFormat c_dfDIJoystick = DataFormat::Joystick;

// Properties.
enum class Property { BufferSize, Range, AxisMode };
constexpr Property DIPROP_BUFFERSIZE = Property::BufferSize;
constexpr Property DIPROP_RANGE = Property::Range;
constexpr Property DIPROP_AXISMODE = Property::AxisMode;
constexpr std::uint32_t DIPH_DEVICE = 0;
constexpr std::uint32_t DIPH_BYID = 2;
constexpr std::uint32_t DIPROPAXISMODE_ABS = 0;

struct DIPROPHEADER {
    std::uint32_t dwSize;
    std::uint32_t dwHeaderSize;
    std::uint32_t dwObj;
    std::uint32_t dwHow;
};
struct DIPROPDWORD {
    DIPROPHEADER diph;
    std::uint32_t dwData;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    std::int32_t lMin;
    std::int32_t lMax;
};

struct DIDEVCAPS {
    std::uint32_t dwSize;
    std::uint32_t dwFlags, dwDevType, dwAxes, dwButtons, dwPOVs, dwFFSamplePeriod,
        dwFFMinTimeResolution, dwFirmwareRevision, dwHardwareRevision, dwFFDriverVersion;
};
static_assert(sizeof(DIDEVCAPS) == 44);

struct DIJOYSTATE {
    std::int32_t lX, lY, lZ, lRx, lRy, lRz;
    std::int32_t rglSlider[2];
    std::uint32_t rgdwPOV[4];
    std::uint8_t rgbButtons[32];
};
static_assert(sizeof(DIJOYSTATE) == 80);

// One enumerated device or device object.
struct DIDEVICEINSTANCE {
    int instance;   // index among the attached controllers
};
struct DIDEVICEOBJECTINSTANCE {
    std::uint32_t dwType;   // identifier handed to DIPH_BYID
};
constexpr bool DIENUM_CONTINUE = true;
constexpr bool DIENUM_STOP = false;
constexpr unsigned DI8DEVCLASS_GAMECTRL = 4;
constexpr unsigned DIEDFL_ATTACHEDONLY = 1;
constexpr unsigned DIDFT_AXIS = 3;
using LPDIENUMDEVICESCALLBACK = bool (*)(const DIDEVICEINSTANCE*, void*);
using LPDIENUMDEVICEOBJECTSCALLBACK = bool (*)(const DIDEVICEOBJECTINSTANCE*, void*);

class IDirectInputDevice8 : public RefCounted {
public:
    HRESULT SetDataFormat(DataFormat format);
    HRESULT SetCooperativeLevel(HWND hwnd, unsigned flags);
    HRESULT SetProperty(Property prop, const DIPROPHEADER* header);
    HRESULT GetCapabilities(DIDEVCAPS* caps);
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACK callback, void* context, unsigned flags);
    HRESULT Acquire();
    HRESULT Unacquire();
    HRESULT Poll();
    HRESULT GetDeviceState(std::uint32_t size, void* data);

private:
    friend class IDirectInput8;
    IDirectInputDevice8(DeviceGuid kind, int joystick) : kind_(kind), joystick_(joystick) {}
    HRESULT checkAcquired();
    // The reads themselves, from the backend (a replay stands in for them).
    HRESULT acquireLive();
    HRESULT keyboardStateLive(std::uint8_t* keys);
    HRESULT joystickStateLive(DIJOYSTATE* state);

    DeviceGuid kind_;
    int joystick_;
    bool acquired_ = false;
    unsigned long long focusLossesAtAcquire_ = 0;
    std::int32_t rangeMin_[2] = {0, 0};
    std::int32_t rangeMax_[2] = {65535, 65535};
};

class IDirectInput8 : public RefCounted {
public:
    HRESULT CreateDevice(DeviceGuid guid, IDirectInputDevice8** device, int instance = 0);
    HRESULT EnumDevices(unsigned devClass, LPDIENUMDEVICESCALLBACK callback, void* context,
                        unsigned flags);
};

HRESULT DirectInput8Create(HINSTANCE instance, std::uint32_t version, IDirectInput8** out);

// Keys held on the player's behalf (the autopilot): a 256-byte DIK_* indexed
// state ORed into every keyboard read, as if the keys were down. nullptr
// clears it; the bytes are copied.
void setInjectedKeys(const std::uint8_t* keys);

// How many times the window has lost the focus (foreground devices are
// unacquired by each loss).
unsigned long long focusLosses();

}  // namespace platform
