// HeadlessBackend: runs the game with no window, no display and no audio
// device. Time is a VirtualClock, input comes from an InputScript or, in a
// lockstep run, line by line from a LockstepInput.
//
// While no frame can run (the window is unfocused or minimised), the events
// of the next scripted line that has any arrive after 100 ms of virtual time,
// so a script never hangs; when no such line is left the run ends. In
// lockstep the waiting line is answered after those 100 ms and the next line
// is read in its place.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/headless/lockstep.h"
#include "platform/headless/script.h"

namespace platform {

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend(InputScript script, std::uint32_t msStart, std::int64_t calendarStart);

    // Lockstep: each frame's input is one line of `input`, read before the
    // frame runs; the end of input ends the run (exit code 0), a bad line
    // ends it with exit code 2 after naming it on stderr.
    void useLockstep(std::unique_ptr<LockstepInput> input);
    // Called in lockstep when the line read can run no frame ("focus": the
    // window is unfocused, "paused", "minimized"), just before the next line
    // is read.
    void onWaiting(std::function<void(const char* reason)> answer) { waiting_ = std::move(answer); }

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
    int joystickCount() override;
    bool joystickState(int index, JoystickReading& out) override;

    bool cursorShown() const { return cursorShown_; }

private:
    void deliver(const ScriptLine& line, std::deque<MSG>& queue);
    bool deliverNextWithEvents(std::deque<MSG>& queue);
    void endOfScript(std::deque<MSG>& queue);
    // While no frame can run (nothing queued, window minimised or gone):
    // true once that has lasted 100 ms of virtual time.
    bool blockedWaitOver(const std::deque<MSG>& queue);
    bool readLockstepLine();
    void pumpLockstep(std::deque<MSG>& queue);
    void answerAndReadNext(std::deque<MSG>& queue, const char* reason);

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

    std::unique_ptr<LockstepInput> lockstep_;
    std::function<void(const char*)> waiting_;
    bool lineRead_ = false;       // the next frame's line has been read
    bool eventsPending_ = false;  // ...and its window events not yet delivered
    int quitCode_ = -1;           // the input ended (0) or failed (2)
};

}  // namespace platform
