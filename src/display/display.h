// Display: owns the display device and everything drawn outside the field
// objects, and runs the screen flow (title, story, play, game over, clear,
// staff roll) inside each frame's render.
#pragma once

#include <cstdint>

#include "platform/os.h"

class World;
class PlayerSide;
class MusicPlayer;

class Display {
public:
    Display() = default;

    // Creates the device, sets the render states, the light and the camera.
    void init(platform::HWND window);
    // One frame: clear, scene, screen flow, present.
    void renderFrame(World& world, PlayerSide& playerSide, MusicPlayer& music,
                     std::int32_t action, std::int32_t direction);

    // Screen state read by the main loop.
    std::uint8_t titleScreen = 1;
    std::uint8_t storyScreen = 0;
    std::uint8_t inGame = 0;
    std::uint8_t gameOver = 0;
    std::uint8_t stageClear = 0;
    std::uint8_t staffRoll = 0;
    std::int32_t screenDelay = 0;
};
