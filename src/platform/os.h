// The operating-system services the game shell uses: window and messages,
// millisecond clock and sleep, calendar time, the single-instance lock and
// message boxes. The names follow the Win32 calls the game was written
// against; behind them sits either the SDL backend or the headless one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/paths.h"

namespace platform {

struct Window;                 // opaque
using HWND = Window*;          // the one game window, or nullptr
using HINSTANCE = void*;       // the process instance (unused by the backends)
using LRESULT = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

// Window messages the game's window procedure sees.
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_PAINT = 0x000F;  // posted only while paused: show the paused picture again
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr WPARAM VK_ESCAPE = 27;
constexpr WPARAM VK_P = 'P';               // the pause key
constexpr WPARAM VK_GAMEPAD_MENU = 0xCF;   // a pad's start button
constexpr WPARAM VK_PAUSE = 0x13;          // pauses, never resumes (a pad was pulled out)

// Show states reported by GetWindowPlacement.
constexpr unsigned SW_HIDE = 0;
constexpr unsigned SW_SHOWNORMAL = 1;
constexpr unsigned SW_SHOWMINIMIZED = 2;
constexpr unsigned SW_MINIMIZE = 6;
constexpr unsigned SW_SHOWMINNOACTIVE = 7;

// Message-box types and icons.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_ICONERROR = 0x10;

struct MSG {
    HWND hwnd = nullptr;
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using WNDPROC = LRESULT (*)(HWND, unsigned, WPARAM, LPARAM);

struct WNDCLASSEX {
    unsigned cbSize = 48;
    unsigned style = 0;
    WNDPROC lpfnWndProc = nullptr;
    std::string className;
    std::string largeIconPath;  // the program icon (a PNG of the asset pack)
};

struct WINDOWPLACEMENT {
    unsigned showCmd = SW_SHOWNORMAL;
};

// Window class and window.
bool RegisterClassEx(const WNDCLASSEX& wc);                     // remember the class
HWND CreateWindowEx(const std::string& className, const std::string& title,
                    int width, int height);                     // nullptr on failure
void ShowWindow(HWND hwnd, int showCmd);                        // show it
bool DestroyWindow(HWND hwnd);                                  // sends WM_DESTROY to its procedure now
bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);  // current show state
int ShowCursor(bool show);                                      // hide or show the mouse cursor

// Message queue (one thread, one window).
bool PeekMessage(MSG* msg);            // take a waiting message, never wait
int GetMessage(MSG* msg);              // wait for one; 0 when it is WM_QUIT
void TranslateMessage(const MSG* msg); // nothing to translate here
LRESULT DispatchMessage(const MSG* msg);  // call the window procedure
LRESULT DefWindowProc(HWND, unsigned, WPARAM, LPARAM);
void PostQuitMessage(int exitCode);    // queue WM_QUIT with this code

// Clock.
std::uint32_t timeGetTime();           // milliseconds, 32-bit, wrapping
void Sleep(std::uint32_t ms);          // suspend the thread
// For a background thread whose work can wait (decoding music and textures
// ahead): the game's own threads get the processor first.
void lowerThreadPriority();
std::int64_t time();                   // calendar time in whole seconds
// The millisecond clock as the trace shows it: the harness reads it once
// after every frame (a replay holds it, so a replayed trace shows the same).
std::uint32_t frameEndTime();
// Whether the frame about to be rendered is drawn: in a window, not while
// the loop runs behind its 60 Hz schedule (the frame's draws are discarded;
// all else runs). Asked once a frame; a replay holds the answer.
bool beginFrameDrawing();
// The clock for the harness's other output (lockstep answers); never part
// of a replay.
std::uint32_t harnessTime();

// Single-instance lock, as a named mutex.
using HANDLE = void*;
constexpr std::uint32_t WAIT_OBJECT_0 = 0;
constexpr std::uint32_t WAIT_TIMEOUT = 0x102;
HANDLE CreateMutexA(const std::string& name);            // never nullptr
std::uint32_t WaitForSingleObject(HANDLE h, std::uint32_t timeoutMs);  // only 0 is supported
void CloseHandle(HANDLE h);

// Message box: shown when there is a display, always written to stderr as
// "CAPTION: TEXT". Texts are UTF-8.
int MessageBoxA(HWND hwnd, const std::string& text, const std::string& caption, unsigned type);

// Every box shown since the last call (oldest first); the harness traces them.
struct ShownBox {
    std::string text;
    std::string caption;
    unsigned type;
};
std::vector<ShownBox> takeShownBoxes();

// Called by the graphics layer after each presented frame.
void framePresented();

}  // namespace platform
