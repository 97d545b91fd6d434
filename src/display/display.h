// Display: owns the display device and everything drawn outside the field
// objects (the shared sprite, the screen images and letters, the camera),
// and runs the screen flow inside each frame's render. It is itself a field
// object whose six slots hold the clear letters.
#pragma once

#include <cstdint>

#include "audio/sound_bank.h"
#include "display/camera.h"
#include "display/screen_images.h"
#include "platform/gfx/d3dx9.h"
#include "platform/os.h"
#include "world/field_object.h"

class World;
class PlayerSide;
class MusicPlayer;

class Display : public FieldObject {
public:
    Display();
    ~Display() override;

    // Device, sprite, screen images, render states and light, first camera.
    void init(platform::HWND window);
    platform::IDirect3DDevice9* device() const { return device_; }
    platform::ID3DXSprite* sprite() const { return sprite_; }

    // One frame: clear, scene, screen flow, present (reset when it fails).
    void renderFrame(World& world, PlayerSide& playerSide, MusicPlayer& music, std::int32_t action,
                     std::int32_t direction);

    // The camera's start values (also clears the play-music fields).
    void resetCamera();
    // The entrance script and the clear orbit back to their start.
    void resetDirector();
    // Once per playing frame, after the frame's drawing: follows the ship,
    // sways after a hit, runs the boss-entrance script and the clear orbit,
    // and sets the view and projection that the next frame draws with.
    // Returns the look-at x (the failure code when the viewport can't be read).
    Real updateCamera(Real shipX, Real shipY, Real shipZ, std::int32_t hitRecovery,
                      std::int32_t entranceCountdown);

    ScreenImages screenImages;
    SoundBank sounds{"Display"};
    CameraFields camera;
    CameraDirector director;

    // Screen state.
    std::uint8_t titleScreen = 1;
    std::uint8_t storyScreen = 0;
    std::uint8_t inGame = 0;          // also during game over, clear and staff roll
    std::uint8_t gameOver = 0;
    std::uint8_t stageClear = 0;
    std::uint8_t staffRoll = 0;
    std::int32_t screenDelay = 0;     // frames; holds confirming, play and steering
    std::int32_t menuRepeatDelay = 0; // frames until the cursor may move again
    std::int32_t difficulty = 0;      // 0 easy, 1 normal, 2 hard
    std::int32_t idleFrames = 0;
    std::int32_t gameOverTimer = 0;
    std::int32_t gameOverY = -770;    // pixels
    std::int32_t clearTimer = 0;
    std::uint32_t storyStart = 0;     // ms
    std::uint32_t storyNow = 0;       // ms, taken at the end of every frame
    std::int32_t storySlideA = 800, storySlideB = 800;
    std::uint8_t storySlideToggle = 1;
    std::uint8_t storyCues[10] = {};  // cue 1 first: each story sound plays once
    std::uint8_t titleMusicStarted = 0;
    std::uint8_t staffMusicStopped = 0;
    std::uint8_t gameMusicOn = 0;
    std::uint8_t bossFadeDone = 0;
    std::int32_t bossMusicDelay = 0;

    platform::D3DXMATRIX view;
    platform::D3DXMATRIX projection;
    float aspect = 0;
    platform::D3DVIEWPORT9 viewport;

private:
    // The screen flow (screen_flow.cpp): the frame's steps in their order,
    // and the screens it is made of.
    void screenFlow(World& world, PlayerSide& playerSide, MusicPlayer& music, std::int32_t action,
                    std::int32_t direction);
    bool gameOverScreen();                                               // A: true at its end
    bool staffRollScreen(MusicPlayer& music);                            // B: true at its end
    void clearSequence();                                                // C
    bool titleStep(MusicPlayer& music, std::int32_t action, std::int32_t direction);  // D: true on a start
    bool storyStep(MusicPlayer& music, std::int32_t action);             // E: true at its end
    void screenReset();

    bool createDevice(platform::HWND window);
    void setRenderStates();
    void setFirstCamera();
    void release();

    platform::IDirect3D9* d3d_ = nullptr;
    platform::IDirect3DDevice9* device_ = nullptr;
    platform::D3DPRESENT_PARAMETERS params_;
    platform::ID3DXSprite* sprite_ = nullptr;
    platform::HWND window_ = nullptr;
};
