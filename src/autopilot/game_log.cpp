#include "autopilot/game_log.h"

#include <cstdio>

namespace autopilot {

namespace {
const char* const difficultyNames[] = {"easy", "normal", "hard"};
}

void GameLog::note(const GameView& now, std::uint64_t frame, int difficulty) {
    const Screen was = last_;
    last_ = now.screen;
    if (now.screen == Screen::StartHold && was != Screen::StartHold) {
        ++games_;
        hits_ = 0;
        hitPoints_ = 3;
        boss2Seen_ = bossSeen_ = false;
    }
    if (games_ == 0) return;
    if (now.hitPoints < hitPoints_) hits_ += hitPoints_ - now.hitPoints;
    hitPoints_ = now.hitPoints;
    boss2Seen_ |= now.bodies[GameView::boss2Body].active;
    bossSeen_ |= now.bodies[GameView::bossBody].active;
    const char* name = difficultyNames[difficulty < 0 || difficulty > 2 ? 0 : difficulty];
    if (now.screen == Screen::StaffRoll && was != Screen::StaffRoll)
        std::fprintf(stderr, "autoplay: game %d on %s: staff roll at frame %llu, %d hits, score %ld\n", games_,
                     name, static_cast<unsigned long long>(frame), hits_, now.score);
    if (now.screen == Screen::GameOver && was != Screen::GameOver)
        std::fprintf(stderr, "autoplay: game %d on %s: game over at frame %llu, %d hits, score %ld, reached %s\n",
                     games_, name, static_cast<unsigned long long>(frame), hits_, now.score,
                     bossSeen_ ? "Boss" : boss2Seen_ ? "Boss2" : "the waves");
}

}  // namespace autopilot
