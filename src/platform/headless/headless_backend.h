// HeadlessBackend: runs the game with no window, no display and no audio
// device. Time is a VirtualClock, input comes from an InputScript.
//
// While no frame can run (the window is unfocused or minimised), the events
// of the next scripted line that has any arrive after 100 ms of virtual time,
// so a script never hangs; when no such line is left the run ends.
#pragma once

#include <vector>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/headless/script.h"

namespace platform {

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend(InputScript script, std::uint32_t msStart, std::int64_t calendarStart);

    VirtualClock& clock() { return clock_; }
    // The harness tells the backend which frame runs next (0-based).
    void setNextFrame(std::uint64_t frame);

    bool headless() const override { return true; }
    bool createWindow(const std::string&, int, int, const std::string&) override { return true; }
    void destroyWindow() override { destroyed_ = true; }
    unsigned showState() override { return showState_; }
    bool foreground() override { return focused_ && !destroyed_; }
    void showCursor(bool show) override { cursorShown_ = show; }
    void pumpEvents(std::deque<MSG>& queue) override;
    void waitEvents(std::deque<MSG>& queue) override;
    std::uint32_t ms() override { return clock_.ms(); }
    void sleep(std::uint32_t ms) override { clock_.advanceMs(ms); }
    std::int64_t calendarSeconds() override { return clock_.calendarSeconds(); }
    void framePresented() override { clock_.advanceToNextFrame(); }
    void showMessageBox(const std::string&, const std::string&, unsigned) override {}
    bool takeInstanceLock(const std::string&) override { return true; }
    void keyboardState(std::uint8_t keys[256]) override;
    int joystickCount() override { return script_.usesJoystick() ? 1 : 0; }
    bool joystickState(int index, JoystickReading& out) override;

    bool cursorShown() const { return cursorShown_; }

private:
    void deliver(const ScriptLine& line, std::deque<MSG>& queue);
    bool deliverNextWithEvents(std::deque<MSG>& queue);
    void endOfScript(std::deque<MSG>& queue);

    InputScript script_;
    VirtualClock clock_;
    std::vector<bool> delivered_;
    std::uint64_t nextFrame_ = 0;
    bool focused_ = true;
    bool destroyed_ = false;
    bool cursorShown_ = true;
    bool ended_ = false;
    unsigned showState_ = SW_SHOWNORMAL;
    bool blocked_ = false;            // the last pump found no way to run a frame
    std::uint64_t blockedSince_ = 0;  // tick at which that started
};

}  // namespace platform
