#include "platform/headless/headless_backend.h"

#include <csignal>
#include <cstdio>

#include "platform/input.h"
#include "platform/pause.h"

namespace platform {

namespace {
constexpr std::uint64_t blockedWait = 100 * VirtualClock::ticksPerMs;
}

HeadlessBackend::HeadlessBackend(InputScript script, std::uint32_t msStart,
                                 std::int64_t calendarStart)
    : script_(std::move(script)),
      clock_(msStart, calendarStart),
      delivered_(script_.lines().size(), false) {}

void HeadlessBackend::useLockstep(std::unique_ptr<LockstepInput> input) {
    lockstep_ = std::move(input);
    // The answers go to a pipe: a reader that has gone away shows as a
    // failed write, not as a signal that kills the run mid-frame.
    std::signal(SIGPIPE, SIG_IGN);
}

void HeadlessBackend::setNextFrame(std::uint64_t frame) {
    nextFrame_ = frame;
    blocked_ = false;
    lineRead_ = false;
}

void HeadlessBackend::deliver(const ScriptLine& line, std::deque<MSG>& queue) {
    auto post = [&](unsigned message, WPARAM wParam = 0) { queue.push_back(windowMessage(message, wParam)); };
    for (ScriptEvent e : line.events) {
        switch (e) {
            case ScriptEvent::FocusLost:
                focused_ = false;
                noteFocusLost();
                post(WM_KILLFOCUS);
                break;
            case ScriptEvent::FocusGained: focused_ = true; post(WM_SETFOCUS); break;
            case ScriptEvent::Minimize: showState_ = SW_SHOWMINIMIZED; break;
            case ScriptEvent::Restore: showState_ = SW_SHOWNORMAL; break;
            case ScriptEvent::Close: post(WM_CLOSE); break;
            case ScriptEvent::Destroy: post(WM_DESTROY); break;
            case ScriptEvent::Escape: post(WM_KEYDOWN, VK_ESCAPE); break;
            case ScriptEvent::RButton: post(WM_RBUTTONDOWN); break;
            case ScriptEvent::LButton: post(WM_LBUTTONDOWN); break;
            case ScriptEvent::Pause: post(WM_KEYDOWN, VK_P); break;
        }
    }
}

bool HeadlessBackend::deliverNextWithEvents(std::deque<MSG>& queue) {
    const auto& lines = script_.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (delivered_[i] || lines[i].events.empty()) continue;
        delivered_[i] = true;
        deliver(lines[i], queue);
        return true;
    }
    return false;
}

void HeadlessBackend::endOfScript(std::deque<MSG>& queue) {
    if (!ended_)
        std::fprintf(stderr,
                     "tervo: the input script has no more events and no frame can run; "
                     "ending the run\n");
    ended_ = true;
    MSG quit;
    quit.message = WM_QUIT;
    queue.push_back(quit);
}

void HeadlessBackend::pumpEvents(std::deque<MSG>& queue) {
    if (lockstep_) return pumpLockstep(queue);
    const auto& lines = script_.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!delivered_[i] && lines[i].first <= nextFrame_) {
            delivered_[i] = true;
            deliver(lines[i], queue);
        }
    }
    // A hidden or minimised window runs no frame; after 100 ms the next
    // scripted events arrive early.
    if (blockedWaitOver(queue) && !deliverNextWithEvents(queue)) endOfScript(queue);
}

bool HeadlessBackend::blockedWaitOver(const std::deque<MSG>& queue) {
    const bool canRun = showState_ == SW_SHOWNORMAL && !destroyed_;
    if (!queue.empty() || canRun) {
        blocked_ = false;
        return false;
    }
    if (!blocked_) {
        blocked_ = true;
        blockedSince_ = clock_.ticks();
        return false;
    }
    if (clock_.ticks() - blockedSince_ < blockedWait) return false;
    blocked_ = false;
    return true;
}

void HeadlessBackend::waitEvents(std::deque<MSG>& queue) {
    clock_.advanceMs(100);
    if (lockstep_) return answerAndReadNext(queue, paused() ? "paused" : "focus");
    if (!deliverNextWithEvents(queue)) endOfScript(queue);
}

int HeadlessBackend::joystickCount() {
    if (!lockstep_) return script_.usesJoystick() ? 1 : 0;
    // Asked at start-up: the first line, which decides, is read early.
    if (lockstep_->linesRead() == 0 && quitCode_ < 0) readLockstepLine();
    return lockstep_->joystick() ? 1 : 0;
}

bool HeadlessBackend::readLockstepLine() {
    switch (lockstep_->next()) {
        case LockstepInput::Read::Line:
            lineRead_ = true;
            eventsPending_ = !lockstep_->line().events.empty();
            return true;
        case LockstepInput::Read::End:
            quitCode_ = 0;
            return false;
        case LockstepInput::Read::Bad:
            std::fprintf(stderr, "tervo: %s\n", lockstep_->error().c_str());
            quitCode_ = 2;
            return false;
    }
    return false;
}

void HeadlessBackend::pumpLockstep(std::deque<MSG>& queue) {
    auto quit = [&] {
        MSG msg;
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(quitCode_);
        queue.push_back(msg);
    };
    if (quitCode_ >= 0) return quit();
    if (!lineRead_ && !readLockstepLine()) return quit();
    if (eventsPending_) {
        eventsPending_ = false;
        deliver(lockstep_->line(), queue);
    }
    // As with a script: while minimised, after 100 ms the line is answered
    // and the next one comes in its place.
    if (blockedWaitOver(queue)) answerAndReadNext(queue, "minimized");
}

void HeadlessBackend::answerAndReadNext(std::deque<MSG>& queue, const char* reason) {
    if (quitCode_ < 0) {
        if (waiting_) waiting_(reason);
        readLockstepLine();
    }
    if (quitCode_ >= 0) return pumpLockstep(queue);  // posts the quit
    eventsPending_ = false;
    deliver(lockstep_->line(), queue);
}

void HeadlessBackend::keyboardState(std::uint8_t keys[256]) {
    const std::uint8_t held = lockstep_ ? lockstep_->line().keys : script_.keysAt(nextFrame_);
    auto set = [&](std::uint8_t bit, int dik) {
        if (held & bit) keys[dik] = 0x80;
    };
    set(KeyUp, DIK_UP);
    set(KeyDown, DIK_DOWN);
    set(KeyLeft, DIK_LEFT);
    set(KeyRight, DIK_RIGHT);
    set(KeyZ, DIK_Z);
    set(KeyX, DIK_X);
    set(KeyC, DIK_C);
}

bool HeadlessBackend::joystickState(int index, JoystickReading& out) {
    if (index != 0 || joystickCount() == 0) return false;
    JoystickHold hold;
    if (!lockstep_) {
        hold = script_.joystickAt(nextFrame_);
    } else if (lockstep_->line().joystick) {
        const ScriptLine& line = lockstep_->line();
        hold = {line.joyX, line.joyY, line.joyButtons};
    }
    out = JoystickReading{};
    out.x = hold.x / 1000.0;
    out.y = hold.y / 1000.0;
    for (int b = 0; b < 32; ++b)
        if (hold.buttons & (1u << b)) out.buttons[b] = 0x80;
    return true;
}

}  // namespace platform
