#include "player/frame_rate_readout.h"

#include <cstdio>

using namespace platform;

namespace {

constexpr float Half = 0.5f;  // half the glyph quad's side

}  // namespace

FrameRateReadout::FrameRateReadout() : FieldObject(1) { setPosition(0, -5.0, 8.0, 0.0, 1, 100); }

FrameRateReadout::~FrameRateReadout() { graphics.releaseQuad(); }

bool FrameRateReadout::load() {
    rate = 0;
    if (graphics.createQuadBuffer()) {
        // The whole sheet; drawSlot picks a cell before every glyph.
        writeSquare(graphics.quadBuffer, Half);
    }
    return graphics.loadTexture("t\\text.png", 0xFF000000, "文字ファイルロスト", &graphics.quadTexture);
}

void FrameRateReadout::drawSlot(int index) {
    const Placement& p = placements[index];
    char text[20];
    std::snprintf(text, sizeof text, "%d", rate);
    // The first three characters at most, one unit apart; a sign draws nothing.
    for (int i = 0; i < 3 && text[i] != '\0'; ++i) {
        if (text[i] < '0' || text[i] > '9') continue;
        const int d = text[i] - '0';
        // Cells of 1/8: 0 to 7 on the top row, 8 and 9 at the start of the
        // second; (u1, v1) is the cell's bottom-right corner.
        const Real u1 = d <= 7 ? 0.125 * Real(d + 1) : 0.125 * Real(d - 7);
        const Real v1 = d <= 7 ? 0.125 : 0.25;
        const float left = (u1 - 0.125).toFloat(), top = (v1 - 0.125).toFloat();
        const float right = u1.toFloat(), bottom = v1.toFloat();
        writeSquare(graphics.quadBuffer, Half, left, top, right, bottom);
        D3DXMatrixTranslation(&graphics.worldMatrix, (p.x + Real(i)).toFloat(), p.y.toFloat(), p.z.toFloat());
        graphics.device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
        graphics.drawQuad();
    }
}
