#include "display/display.h"

#include "platform/real.h"

// Until the display device exists these stand in for it: creating the device
// switches the game's arithmetic to single precision, and every frame is
// presented (which is what paces the headless clock).

void Display::init(platform::HWND) { fpu::setSinglePrecision(true); }

void Display::renderFrame(World&, PlayerSide&, MusicPlayer&, std::int32_t, std::int32_t) {
    platform::framePresented();
}
