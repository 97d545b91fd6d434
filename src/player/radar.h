// Radar: the panel in the lower right that shows every enemy in play as a
// blip, placed by its x and y relative to the ship and imaged by its depth.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Radar : public FieldObject {
public:
    static constexpr int maxBlips = 64;

    Radar() : FieldObject(0) {}
    ~Radar() override;

    // The three blip images, then (a step of its own) the panel.
    bool load();
    void drawPanel(int index, float scaleX, float scaleY);
    void placeBlip(Real enemyX, Real enemyY, Real playerX, Real playerY);
    void drawBlip(int index);
    // A blip for each active slot among the first `count`, around the player's x and y.
    void blipsFor(int count, const Placement* slots, Real playerX, Real playerY);

    std::int32_t blipX = 0;
    std::int32_t blipY = 0;
    platform::IDirect3DTexture9* images[4] = {};

    // The blips of the last HUD pass, in drawing order (for the trace), and
    // the graphics layer's frame number in which that pass ran.
    struct Blip {
        std::int32_t image, x, y;
    };
    Blip drawn[maxBlips] = {};
    int drawnCount = 0;
    std::uint64_t drawnFrame = ~std::uint64_t{0};
    // How many of drawn[] belong to the given frame: none when no HUD was
    // drawn in it.
    int blipsDrawnIn(std::uint64_t frame) const { return drawnFrame == frame ? drawnCount : 0; }
};
