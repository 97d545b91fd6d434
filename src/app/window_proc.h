// The game window's procedure: focus tracking, the ways to quit, and the
// pause key.
#pragma once

#include "platform/os.h"

platform::LRESULT windowProc(platform::HWND window, unsigned message, platform::WPARAM wParam,
                             platform::LPARAM lParam);
