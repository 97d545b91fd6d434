#include "platform/sdl/pads.h"

namespace platform {

void PadSet::closeAll() {
    for (auto*& pad : slots_) {
        if (pad) SDL_GameControllerClose(pad);
        pad = nullptr;
    }
}

bool PadSet::open(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0) return false;
    if (owns(id)) return true;
    for (int i = 0; i < kSlots; ++i) {
        if (slots_[i]) continue;
        slots_[i] = SDL_GameControllerOpen(deviceIndex);
        ids_[i] = id;
        return slots_[i] != nullptr;
    }
    return false;
}

int PadSet::slotOf(SDL_JoystickID id) const {
    for (int i = 0; i < kSlots; ++i)
        if (slots_[i] && ids_[i] == id) return i;
    return -1;
}

bool PadSet::close(SDL_JoystickID id) {
    const int i = slotOf(id);
    if (i < 0) return false;
    SDL_GameControllerClose(slots_[i]);
    slots_[i] = nullptr;
    return true;
}

void PadSet::addHeldKeys(const InputBindings& bindings, std::uint8_t keys[256]) const {
    for (auto* pad : slots_) {
        if (!pad || !SDL_GameControllerGetAttached(pad)) continue;
        PadReading r;
        r.leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        r.leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            r.buttons[b] = SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(b)) != 0;
        keysFromPad(bindings, r, keys);
    }
}

}  // namespace platform
