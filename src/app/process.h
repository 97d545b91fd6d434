// The process-wide values of the game shell.
#pragma once

#include <cstdint>

#include "platform/os.h"

extern platform::HWND windowHandle;   // the one game window
extern std::uint8_t hasFocus;         // 1 while the window has the keyboard focus
extern std::int32_t controlMode;      // 0 keyboard, 1 joystick; set once at start-up
