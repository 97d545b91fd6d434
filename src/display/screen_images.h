// ScreenImages: the full-screen and menu pictures of the screens (title,
// story, captions, difficulty entries, game over, staff roll) and the six
// letter meshes of the stage-clear sequence, drawn with the shared sprite.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/d3dx9.h"
#include "world/graphics_part.h"
#include "world/placement.h"

class ScreenImages {
public:
    static constexpr int imageCount = 24;
    static constexpr int letterCount = 6;

    ~ScreenImages() { release(); }

    // Loads images 0, 1, 3, 4, then 5 to 23, then the letters, stopping at
    // the first failure (reported through `owner`, whose device it uses).
    void load(GraphicsPart& owner);

    // One image with its top-left corner at (x, y) of the 800 x 600 picture.
    void drawImage(int index, float x, float y);
    void drawGameOver(int y) { drawImage(0, 0.0f, static_cast<float>(y)); }
    void drawStoryBackground() { drawImage(4, 0.0f, 0.0f); }
    void drawStaff() { drawImage(3, 0.0f, 0.0f); }
    void drawPicture(int index, int x, int y) { drawImage(index, static_cast<float>(x), static_cast<float>(y)); }

    // The falling, spinning CLEAR letters for the current clear countdown;
    // `letters` are the six letter placements of the Display.
    void drawClearLetters(std::int32_t clearTimer, std::vector<Placement>& letters);

    void release();

    platform::IDirect3DTexture9* images[imageCount] = {};

    struct Letter {
        platform::ID3DXMesh* mesh = nullptr;
        platform::ID3DXBuffer* materials = nullptr;
        platform::DWORD materialCount = 0;
    };
    Letter letters[letterCount];

    // The one spin angle shared by every letter (degrees); never reset.
    static float letterSpin;

private:
    platform::IDirect3DDevice9* device_ = nullptr;
    platform::ID3DXSprite* sprite_ = nullptr;
};

// The start positions of the letters: x = -4 - i, y = 10, z = 2i - 20.
void resetLetterPlacements(std::vector<Placement>& letters);
