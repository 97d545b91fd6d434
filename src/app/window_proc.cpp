#include "app/window_proc.h"

#include "app/pause.h"
#include "app/process.h"

using namespace platform;

LRESULT windowProc(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS: hasFocus = 1; return 0;
        case WM_KILLFOCUS: hasFocus = 0; return 0;
        case WM_KEYDOWN:
            // Other keys are read through the keyboard device, not here.
            if (wParam == VK_ESCAPE) PostQuitMessage(0);
            if (wParam == VK_P || wParam == VK_GAMEPAD_MENU) togglePause();
            if (wParam == VK_PAUSE && !gamePaused()) togglePause();
            return 0;
        case WM_PAINT: repaintPaused(); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_CLOSE: PostQuitMessage(0); return 0;  // the window is not destroyed here
        case WM_RBUTTONDOWN: PostQuitMessage(0); return 0;
        case WM_LBUTTONDOWN: return 0;
        default: return DefWindowProc(window, message, wParam, lParam);
    }
}
