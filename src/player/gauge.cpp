#include "player/gauge.h"

using namespace platform;

namespace {

struct Image {
    const char* path;
    int index;
    const char* failureText;
};

// Full gauge first, then the two blink images, each into its frame index.
constexpr Image Images[Gauge::frameCount] = {
    {"t\\hp1.png", 3, "ＨＰ画像ロスト"},   {"t\\hp2.png", 2, "ＨＰ2画像ロスト"},
    {"t\\hp3.png", 1, "ＨＰ3画像ロスト"},  {"t\\hp4.png", 0, "ＨＰ4画像ロスト"},
    {"t\\hp1-2.png", 5, "ＨＰ5画像ロスト"}, {"t\\hp2-2.png", 4, "ＨＰ6画像ロスト"},
};

}  // namespace

Gauge::~Gauge() {
    releaseTextures(frames);
}

bool Gauge::load() {
    for (const Image& image : Images)
        if (!graphics.loadTexture(image.path, 0xFFFFFFFF, image.failureText, &frames[image.index])) return false;
    return true;
}

void Gauge::drawFrame(int index) { graphics.drawSprite(frames[index], nullptr, 0.8f, 0.8f, 60.0f, 440.0f); }
