// The SDL backend's input settings, handed over before the backend is made:
// the key and pad bindings, and a file of game controller mappings.
#pragma once

#include <string>

#include "platform/sdl/bindings.h"

namespace platform {

struct SdlInputOptions {
    InputBindings bindings = resolveDefaults();
    std::string mappingsFile;   // read before any pad is recognised
    std::string mappingsWhere;  // "FILE:LINE" of the setting, for its error

    static InputBindings resolveDefaults() {
        std::vector<settings::Problem> none;
        return resolveBindings(settings::Settings{}, none);
    }
};
void setSdlInputOptions(const SdlInputOptions& options);

}  // namespace platform
