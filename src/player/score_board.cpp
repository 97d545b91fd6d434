#include "player/score_board.h"

// Not built yet: nothing is drawn.

ScoreBoard::ScoreBoard() : FieldObject(0) {
    std::int32_t place = 10000000;
    for (int i = 0; i < 8; ++i) {
        digitX[i] = 500 + 37 * i;
        divisors[i] = place;
        place /= 10;
    }
}
ScoreBoard::~ScoreBoard() = default;
bool ScoreBoard::load() { return true; }
void ScoreBoard::draw() {}
