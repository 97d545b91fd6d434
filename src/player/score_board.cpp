#include "player/score_board.h"

using namespace platform;

namespace {

struct Image {
    const char* path;
    const char* failureText;
};

// In index order, which is also the load order.
constexpr Image Images[6] = {
    {"t\\score.png", "スコア画像ロスト"}, {"t\\waku.png", "waku画像ロスト"},
    {"t\\hitwaku.png", "hitwaku画像ロスト"}, {"t\\hit.png", "hit画像ロスト"},
    {"t\\hitscore.png", "hitscore画像ロスト"}, {"t\\max.png", "max画像ロスト"},
};

constexpr int DigitSheet = 0, ScoreFrame = 1, HitFrame = 2, HitLabel = 3, HitDigitSheet = 4, MaxLabel = 5;

// Each place shows its whole value in the current number: the first place
// is not held to 9.
void extractDigits(std::int32_t number, std::int32_t* digits, const std::int32_t* divisors, int n) {
    std::int32_t remaining = number;
    for (int p = 0; p < n; ++p) {
        digits[p] = remaining / divisors[p];
        remaining -= digits[p] * divisors[p];
    }
}

// The sheet cell of a digit (0 to 7 on the top row, 8 and 9 below); any
// other value leaves the rectangle of the glyph drawn before.
void glyphFor(std::int32_t d, RECT& r) {
    if (d >= 0 && d <= 7) r = {32 * d, 0, 32 * d + 32, 32};
    else if (d == 8) r = {0, 32, 32, 64};
    else if (d == 9) r = {32, 32, 64, 64};
}

}  // namespace

ScoreBoard::ScoreBoard() : FieldObject(0) {
    std::int32_t place = 10000000;
    for (int i = 0; i < 8; ++i) {
        digitX[i] = 500 + 37 * i;
        divisors[i] = place;
        place /= 10;
    }
}

ScoreBoard::~ScoreBoard() {
    releaseTextures(images);
}

bool ScoreBoard::load() {
    for (int i = 0; i < 6; ++i)
        if (!graphics.loadTexture(Images[i].path, 0xFFFFFFFF, Images[i].failureText, &images[i])) return false;
    return true;
}

void ScoreBoard::drawImage(int index, const RECT* source, std::int32_t x, std::int32_t y) {
    graphics.drawSprite(images[index], source, 1.0f, 1.0f, float(x), float(y));
}

void ScoreBoard::drawScoreDigit(int i) {
    extractDigits(total, scoreDigits, divisors, 8);
    glyphFor(scoreDigits[i], glyphRect);
    drawImage(DigitSheet, &glyphRect, digitX[i], 20);
}

void ScoreBoard::drawHitDigit(int i) {
    extractDigits(hits, hitDigits, hitDivisors, 2);
    glyphFor(hitDigits[i], glyphRect);
    drawImage(HitDigitSheet, &glyphRect, hitDigitX[i], 95);
}

void ScoreBoard::drawScoreFrame() { drawImage(ScoreFrame, nullptr, 500, 20); }
void ScoreBoard::drawLabel(int index, std::int32_t x, std::int32_t y) { drawImage(index, nullptr, x, y); }
void ScoreBoard::drawMax() { drawImage(MaxLabel, nullptr, 628, 80); }

void ScoreBoard::draw() {
    if (!graphics.sprite) return;
    drawScoreFrame();
    // Seven places, ten millions to tens: every score step is a multiple of
    // 10000, so the ones are always 0 and not shown.
    for (int i = 0; i < 7; ++i) drawScoreDigit(i);
    drawLabel(HitFrame, 628, 80);
    if (hits != 50) drawLabel(HitLabel, 692, 80);
    if (hits < 50)
        for (int i = 0; i < 2; ++i) drawHitDigit(i);
    if (hits == 50) drawMax();
}
