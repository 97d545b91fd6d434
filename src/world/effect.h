// Effect: animated explosion billboards. Twenty slots, each a square quad
// stepping through a 4 x 4 sheet of cells and then freeing itself; one
// instance per explosion texture.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class Effect : public FieldObject {
public:
    static constexpr int poolSize = 20;

    // The pool is 20 slots but slotCount is 1: the World's update pass only
    // looks at slot 0 (update does nothing anyway); drawing walks all 20.
    explicit Effect(const char* texturePath);
    ~Effect() override;

    // World identity, the sheet texture ("背景ロスト" when it is missing),
    // the cell edge tables, then the billboard buffer.
    bool load();

    // Draws slot i's current cell with depth testing off, then advances its
    // animation; the slot frees itself after the sixteenth cell.
    void drawSlot(int i) override;
    void update(int, int, Placement) override {}
    // Starts an explosion in the first free slot; with all 20 busy, none.
    void spawnAt(Placement where) override;
    // Every slot back to the start cell, parked at (0, 3, 30), inactive.
    void reset(int difficulty) override;

    std::int32_t column[poolSize] = {};
    std::int32_t row[poolSize] = {};
    std::int32_t frameDelay[poolSize] = {};  // frames left on the current cell
    Real uTable[4];  // right edge of each column
    Real vTable[4];  // bottom edge of each row

private:
    const char* texturePath_;
};
