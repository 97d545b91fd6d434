// The game's entry: start-up of the long-lived objects in order, then the
// main loop, one frame per pass while the window has the focus.
#pragma once

#include <string>

#include "platform/os.h"

int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previous, const std::string& commandLine,
            int showCmd);

// One frame: input, game logic, render and screen flow.
void runFrame();
