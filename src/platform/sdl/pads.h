// PadSet: the game controllers SDL knows, opened as they are plugged in and
// closed as they are pulled out, read as the game keys they hold. Fixed
// slots, so plugging and reading allocate nothing.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/sdl/bindings.h"

namespace platform {

class PadSet {
public:
    static constexpr int kSlots = 8;

    PadSet() = default;
    PadSet(const PadSet&) = delete;
    PadSet& operator=(const PadSet&) = delete;
    ~PadSet() { closeAll(); }
    // Closes every pad (before SDL is shut down).
    void closeAll();

    // Opens the controller at this device index unless it is open already
    // (SDL announces the pads attached at start-up as well). False when it
    // could not be opened or every slot is taken.
    bool open(int deviceIndex);
    // Closes the controller with this joystick instance id; true when it was one of ours.
    bool close(SDL_JoystickID id);
    bool owns(SDL_JoystickID id) const { return slotOf(id) >= 0; }

    // ORs into `keys` what every open pad holds.
    void addHeldKeys(const InputBindings& bindings, std::uint8_t keys[256]) const;

private:
    int slotOf(SDL_JoystickID id) const;  // -1 when not ours
    SDL_GameController* slots_[kSlots] = {};
    SDL_JoystickID ids_[kSlots] = {};
};

}  // namespace platform
