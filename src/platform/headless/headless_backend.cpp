#include "platform/headless/headless_backend.h"

#include <cstdio>

#include "platform/input.h"

namespace platform {

namespace {
constexpr std::uint64_t blockedWait = 100 * VirtualClock::ticksPerMs;
}

HeadlessBackend::HeadlessBackend(InputScript script, std::uint32_t msStart,
                                 std::int64_t calendarStart)
    : script_(std::move(script)),
      clock_(msStart, calendarStart),
      delivered_(script_.lines().size(), false) {}

void HeadlessBackend::setNextFrame(std::uint64_t frame) {
    nextFrame_ = frame;
    blocked_ = false;
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
    const auto& lines = script_.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!delivered_[i] && lines[i].first <= nextFrame_) {
            delivered_[i] = true;
            deliver(lines[i], queue);
        }
    }
    if (!queue.empty()) {
        blocked_ = false;
        return;
    }
    // A hidden or minimised window runs no frame; after 100 ms the next
    // scripted events arrive early.
    const bool canRun = showState_ == SW_SHOWNORMAL && !destroyed_;
    if (canRun) {
        blocked_ = false;
        return;
    }
    if (!blocked_) {
        blocked_ = true;
        blockedSince_ = clock_.ticks();
        return;
    }
    if (clock_.ticks() - blockedSince_ >= blockedWait) {
        blocked_ = false;
        if (!deliverNextWithEvents(queue)) endOfScript(queue);
    }
}

void HeadlessBackend::waitEvents(std::deque<MSG>& queue) {
    clock_.advanceMs(100);
    if (!deliverNextWithEvents(queue)) endOfScript(queue);
}

void HeadlessBackend::keyboardState(std::uint8_t keys[256]) {
    const std::uint8_t held = script_.keysAt(nextFrame_);
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
    if (index != 0 || !script_.usesJoystick()) return false;
    const JoystickHold hold = script_.joystickAt(nextFrame_);
    out = JoystickReading{};
    out.x = hold.x / 1000.0;
    out.y = hold.y / 1000.0;
    for (int b = 0; b < 32; ++b)
        if (hold.buttons & (1u << b)) out.buttons[b] = 0x80;
    return true;
}

}  // namespace platform
