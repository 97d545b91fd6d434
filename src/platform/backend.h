// Backend: what the platform calls need from the machine, implemented once
// over SDL (a real window) and once headless (virtual clock, scripted input).
// Only src/platform sees this interface.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/os.h"

namespace platform {

// One joystick's state: axes as fractions of full deflection (the input layer
// scales them to the range the game sets) and button bytes with bit 7 set
// while held.
struct JoystickReading {
    double x = 0;  // -1 full left .. 1 full right
    double y = 0;  // -1 full up .. 1 full down
    std::uint8_t buttons[32] = {};
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual bool headless() const = 0;

    // Window.
    virtual bool createWindow(const std::string& title, int width, int height,
                              const std::string& iconPath) = 0;
    virtual void destroyWindow() = 0;
    virtual unsigned showState() = 0;    // SW_* value
    virtual bool foreground() = 0;       // the window has the keyboard focus
    virtual void showCursor(bool show) = 0;

    // Events: append what arrived to the queue; waitEvents blocks until at
    // least one message is queued.
    virtual void pumpEvents(std::deque<MSG>& queue) = 0;
    virtual void waitEvents(std::deque<MSG>& queue) = 0;

    // Time.
    virtual std::uint32_t ms() = 0;
    virtual void sleep(std::uint32_t ms) = 0;
    virtual std::int64_t calendarSeconds() = 0;
    virtual void framePresented() = 0;

    // Boxes and the lock.
    virtual void showMessageBox(const std::string& text, const std::string& caption,
                                unsigned type) = 0;
    virtual bool takeInstanceLock(const std::string& name) = 0;

    // Input devices, read as DirectInput would report them.
    virtual void keyboardState(std::uint8_t keys[256]) = 0;  // DIK_* indexed
    virtual int joystickCount() = 0;                         // attached at start-up
    virtual bool joystickState(int index, JoystickReading& out) = 0;
};

// The backend in use; installBackend is called once by main before the game runs.
Backend& backend();
// The window handle that backends put into the messages they queue.
HWND gameWindow();
// A message for the game window, as backends queue them.
inline MSG windowMessage(unsigned message, WPARAM wParam = 0) {
    MSG m;
    m.hwnd = gameWindow();
    m.message = message;
    m.wParam = wParam;
    return m;
}
// Backends call this when the window loses the focus (input is unacquired).
void noteFocusLost();
void installBackend(std::unique_ptr<Backend> b);
// Drops the backend at the very end of the process (after the game's own
// static objects have released what they hold).
void releaseBackend();

}  // namespace platform
