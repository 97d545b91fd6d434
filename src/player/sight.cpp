#include "player/sight.h"

using namespace platform;

namespace {

const char* const ImageLost = "照準画像ロスト";

}  // namespace

Sight::Sight() : FieldObject(1) { setPosition(0, 0.0, 5.0, 0.0, 1, 100); }

Sight::~Sight() {
    releaseTextures(images);
    graphics.releaseQuad();
}

bool Sight::load() {
    if (graphics.createQuadBuffer()) {
        writeSquare(graphics.quadBuffer, 1.0f);
    }
    if (!graphics.loadTexture("t\\sight1.png", 0xFF000000, ImageLost, &images[0])) return false;
    return graphics.loadTexture("t\\sight2.png", 0xFF000000, ImageLost, &images[1]);
}

void Sight::drawSlot(int index) {
    const Placement& p = placements[index];
    // Five units nearer than its slot, tilted 10 degrees about x.
    D3DXMATRIX translation, rotation;
    D3DXMatrixTranslation(&translation, p.x.toFloat(), p.y.toFloat(), (p.z - 5.0).toFloat());
    D3DXMatrixRotationX(&rotation, 0.17453294f);
    D3DXMatrixMultiply(&graphics.worldMatrix, &rotation, &translation);
    graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
    // Drawn with the blend as it stands (source alpha over the scene). The
    // quad draws the quad texture, so the image of the lock is lent to it.
    graphics.quadTexture = images[locked ? 1 : 0];
    graphics.drawQuad();
    graphics.quadTexture = nullptr;
}
