// ScoreBoard: the score and the hit counter (enemies destroyed since the
// player was last hit, up to 50) drawn in the top right of the screen.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class ScoreBoard : public FieldObject {
public:
    ScoreBoard();
    ~ScoreBoard() override;

    // One destroyed enemy: worth 10000 times the hit counter, which first
    // rises by one up to 50.
    void addKill() {
        if (hits < 50) hits += 1;
        total += hits * 10000;
    }
    void reset() {
        total = 0;
        hits = 0;
        for (auto& d : scoreDigits) d = 0;
        for (auto& d : hitDigits) d = 0;
    }
    // The six images (white is transparent); the first missing one ends the step.
    bool load();
    // The frame, seven score digits, the hit counter or "max", in that order.
    void draw();

    std::int32_t total = 0;
    std::int32_t hits = 0;
    std::int32_t scoreDigits[8] = {};
    std::int32_t digitX[8];
    std::int32_t divisors[8];
    std::int32_t hitDigits[2] = {};
    std::int32_t hitDigitX[2] = {628, 658};
    std::int32_t hitDivisors[2] = {10, 1};
    platform::RECT glyphRect = {};
    platform::IDirect3DTexture9* images[6] = {};

private:
    // Image `index` (a cell of it when `source` is given) at (x, y), unscaled.
    void drawImage(int index, const platform::RECT* source, std::int32_t x, std::int32_t y);
    void drawScoreFrame();
    void drawScoreDigit(int i);
    void drawLabel(int index, std::int32_t x, std::int32_t y);
    void drawHitDigit(int i);
    void drawMax();
};
