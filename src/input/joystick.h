// Joystick: the first game controller attached at start-up, polled once per
// frame and reduced to the same direction and action codes as the keyboard.
#pragma once

#include <cstdint>

#include "input/input_state.h"
#include "platform/input.h"

class Joystick {
public:
    Joystick() = default;
    ~Joystick();

    // 1 when a controller was found and set up (the run is then played with
    // it), else 0.
    int init(platform::HINSTANCE instance, platform::HWND window);
    // Refreshes the codes; `hasFocus` allows re-acquiring lost input.
    void poll(std::uint8_t hasFocus);

    std::int32_t direction() const { return state_.direction; }
    std::int32_t action() const { return state_.action; }

    // The codes for one controller state (axes in -1000..1000).
    static InputState decode(const platform::DIJOYSTATE& js);

    // Re-acquire attempts per poll while input stays lost.
    static constexpr int maxReacquire = 3;

private:
    platform::HINSTANCE instance_ = nullptr;
    platform::HWND window_ = nullptr;
    InputState state_;
};
