// Keyboard: reads the whole keyboard once per frame through DirectInput and
// reduces it to the direction and action codes (arrows, Z, X, C).
#pragma once

#include <cstdint>

#include "input/input_state.h"
#include "platform/input.h"

class Keyboard {
public:
    Keyboard() = default;
    ~Keyboard();

    // Sets up the device; failures are not reported (reads then yield zeros).
    void init(platform::HINSTANCE instance, platform::HWND window);
    // Refreshes the codes from the current key state.
    void read();

    std::int32_t direction() const { return state_.direction; }
    std::int32_t action() const { return state_.action; }

    // The codes for one 256-byte key state (bit 7 set while a key is down).
    static InputState decode(const std::uint8_t keys[256]);

private:
    platform::IDirectInput8* input_ = nullptr;
    platform::IDirectInputDevice8* device_ = nullptr;
    platform::DIPROPDWORD bufferSize_{{sizeof(platform::DIPROPDWORD), sizeof(platform::DIPROPHEADER),
                                       0, platform::DIPH_DEVICE},
                                      1000};
    InputState state_;
};
