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

    ScreenImages screenImages;
    SoundBank sounds{"Display"};
    CameraFields camera;
    CameraDirector director;

    // Screen state.
    std::uint8_t titleScreen = 1;
    std::uint8_t storyScreen = 0;
    std::uint8_t inGame = 0;
    std::uint8_t gameOver = 0;
    std::uint8_t stageClear = 0;
    std::uint8_t staffRoll = 0;
    std::int32_t screenDelay = 0;
    std::uint8_t gameMusicOn = 0;
    std::uint8_t bossFadeDone = 0;
    std::int32_t bossMusicDelay = 0;

    platform::D3DXMATRIX view;
    platform::D3DXMATRIX projection;
    float aspect = 0;
    platform::D3DVIEWPORT9 viewport;

private:
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
