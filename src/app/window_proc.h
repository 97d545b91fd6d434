// The game window's procedure: focus tracking and the ways to quit.
#pragma once

#include "platform/os.h"

platform::LRESULT windowProc(platform::HWND window, unsigned message, platform::WPARAM wParam,
                             platform::LPARAM lParam);
