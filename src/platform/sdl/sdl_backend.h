// SdlBackend: the real machine. A window with an OpenGL surface, SDL's event
// queue turned into window messages, the keyboard read by physical key
// position, the joysticks attached at start-up, the system clock.
#pragma once

#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform {

// Brings up SDL's video and joystick subsystems. On failure (no display)
// returns nullptr and sets `why` to a one-line reason.
std::unique_ptr<Backend> createSdlBackend(std::string& why);

}  // namespace platform
