// InputBindings: the keyboard keys and pad buttons each game key is bound
// to, resolved from the settings' names, and their translation into the
// DirectInput key codes the game reads (so the game's codes never change).
// The SDL types are held as plain integers: the game's side includes this
// header without SDL's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings/settings_file.h"

namespace platform {

struct InputBindings {
    static constexpr int kMaxPerAction = 8;
    struct Keys {
        std::int32_t codes[kMaxPerAction] = {};      // SDL_Keycode
        int scancodes[kMaxPerAction] = {};           // SDL_Scancode: where the codes sit on the keyboard in use
        int count = 0;
    };
    struct Buttons {
        int buttons[kMaxPerAction] = {};  // SDL_GameControllerButton
        int count = 0;
    };
    Keys keys[settings::kActionCount];
    Buttons pad[settings::kActionCount];
    bool cBound = false;  // the C key is bound to a game key (it then stops giving its own code)
};

// The bindings the settings give, defaults for the actions they leave out.
// A name SDL does not know, Escape, a second action on one key and more than
// kMaxPerAction names are reported and left out.
InputBindings resolveBindings(const settings::Settings& settings, std::vector<settings::Problem>& problems);

// Finds each bound key on the keyboard layout in use (SDL's video must be up).
void placeKeys(InputBindings& bindings);

// The bindings as `tervo --keys` prints them.
std::string describeBindings(const InputBindings& bindings);

// The game's key codes (DIK_* bytes set to 0x80) held by a keyboard state
// indexed by scancode: the bound directions, fire and missile, and C.
void keysFromKeyboard(const InputBindings& bindings, const std::uint8_t* state, int count, std::uint8_t keys[256]);

// A pad's state as the game keys read it.
struct PadReading {
    static constexpr int kButtons = 21;  // SDL_CONTROLLER_BUTTON_MAX
    std::int16_t leftX = 0, leftY = 0;
    bool buttons[kButtons] = {};
};
// The game's key codes a pad holds: the left stick past half its travel, and
// the bound buttons. Pause and the volumes are presses, not held codes:
// see keyAction and buttonAction.
void keysFromPad(const InputBindings& bindings, const PadReading& pad, std::uint8_t keys[256]);

// The action (a settings::Action) a key or a pad button is bound to, -1 for none.
int keyAction(const InputBindings& bindings, int scancode);
int buttonAction(const InputBindings& bindings, int button);

}  // namespace platform
