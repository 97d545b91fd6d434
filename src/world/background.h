// Background: the corridor around the field of play (floor, two walls and a
// ceiling, each a textured quad) with its textures scrolling towards the
// player. Drawn whole by any drawSlot call, once per frame.
#pragma once

#include "world/field_object.h"

class Background : public FieldObject {
public:
    static constexpr int parts = 6;
    static constexpr int textureCount = 4;

    // Six slots, all active with cue 100, and the drawing depth of each.
    Background();
    ~Background() override;

    // Identity matrices, wrapping texture addresses, the six quad buffers,
    // then the four textures ("背景ロスト" at the first missing one).
    bool load();

    // Draws the floor, right wall, left wall and ceiling (whatever the
    // index), then moves the scroll offset on.
    void drawSlot(int index) override;

    Real depth[parts];  // z used for drawing each slot (the slots' own z is 0)
    platform::IDirect3DVertexBuffer9* buffers[parts] = {};
    platform::IDirect3DTexture9* textures[textureCount] = {};
    platform::D3DXMATRIX textureMatrix;
};

// The texture scroll offset along the corridor, shared by the whole run:
// from 0 down to -1, then back to 0; nothing resets it.
Real backgroundV();
