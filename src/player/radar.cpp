#include "player/radar.h"

#include "platform/gfx/gfx_config.h"

using namespace platform;

namespace {

// A coordinate product without its fraction, towards zero.
std::int32_t truncated(Real v) { return static_cast<std::int32_t>(v.value()); }

}  // namespace

Radar::~Radar() {
    releaseTextures(images);
}

bool Radar::load() {
    // The blips by distance band; a missing one ends their step, but the
    // panel is a step of its own and is still loaded.
    const bool blips = graphics.loadTexture("t\\enemy.png", 0xFF000000, "レーダーエネミー画像ロスト", &images[1]) &&
                       graphics.loadTexture("t\\enemy2.png", 0xFF000000, "レーダーエネミー2画像ロスト", &images[2]) &&
                       graphics.loadTexture("t\\enemy3.png", 0xFF000000, "レーダーエネミー3画像ロスト", &images[3]);
    const bool panel = graphics.loadTexture("t\\radar.png", 0xFF000000, "レーダー画像ロスト", &images[0]);
    return blips && panel;
}

void Radar::drawPanel(int index, float scaleX, float scaleY) {
    // A new HUD pass: the record starts over and belongs to this frame.
    drawnCount = 0;
    drawnFrame = gfx::currentFrame();
    graphics.drawSprite(images[index], nullptr, scaleX, scaleY, 600.0f, 440.0f);
}

void Radar::placeBlip(Real enemyX, Real enemyY, Real playerX, Real playerY) {
    // Centred on the ship at (650, 493): 2.8 pixels a unit of x, 5 a unit of
    // y, up in the field up on the panel. Each product loses its fraction
    // before the sum.
    blipX = truncated(2.8 * enemyX) - truncated(2.8 * playerX) + 650;
    blipY = truncated(5.0 * playerY) - truncated(5.0 * enemyY) + 493;
}

void Radar::drawBlip(int index) {
    if (!graphics.sprite) return;  // nothing drawn, nothing recorded
    graphics.drawSprite(images[index], nullptr, 1.0f, 1.0f, float(blipX), float(blipY));
    if (drawnCount < maxBlips) drawn[drawnCount++] = {index, blipX, blipY};
}

void Radar::blipsFor(int count, const Placement* slots, Real playerX, Real playerY) {
    // The band image carries from one active slot to the next: a slot at 150
    // or beyond keeps the image of the one before it (1 for the first).
    int index = 1;
    for (int i = 0; i < count; ++i) {
        const Placement& s = slots[i];
        if (s.active == 0) continue;
        if (s.z < 150.0) index = 1;
        if (s.z < 60.0) index = 2;
        if (s.z < 20.0) index = 3;
        placeBlip(s.x, s.y, playerX, playerY);
        drawBlip(index);
    }
}
