// The game's entry: start-up of the long-lived objects in order, then the
// main loop, one frame per pass while the window has the focus.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previous, const std::string& commandLine,
            int showCmd);

// One frame: input, game logic, render and screen flow.
void runFrame();

// Frames drawn in the frame timer's last whole second (a window skips
// drawing frames while it runs behind; headless, every frame counts).
std::int32_t drawnRate();
