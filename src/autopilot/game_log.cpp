#include "autopilot/game_log.h"

#include <cstdio>

namespace autopilot {

namespace {

const char* const difficultyNames[] = {"easy", "normal", "hard"};

const char* screenName(Screen s) {
    switch (s) {
        case Screen::Title: return "title";
        case Screen::Story: return "story";
        case Screen::StartHold: return "start hold";
        case Screen::Play: return "play";
        case Screen::GameOver: return "game over";
        case Screen::Clear: return "clear";
        case Screen::StaffRoll: return "staff roll";
    }
    return "?";
}

void transition(std::uint64_t frame, const char* what) {
    std::fprintf(stderr, "autoplay: frame %llu: %s\n", static_cast<unsigned long long>(frame), what);
}

}  // namespace

void GameLog::note(const GameView& now, std::uint64_t frame, int difficulty) {
    const Screen was = last_;
    last_ = now.screen;
    const bool boss2 = now.bodies[GameView::boss2Body].active, boss = now.bodies[GameView::bossBody].active;
    if (now.screen != was) transition(frame, screenName(now.screen));
    if (now.screen == Screen::StartHold && was != Screen::StartHold) {
        ++games_;
        hits_ = 0;
        hitPoints_ = 3;
        boss2Seen_ = bossSeen_ = false;
    }
    if (games_ == 0) return;
    if (boss2 && !boss2Seen_) transition(frame, "Boss2");
    if (boss && !bossSeen_) transition(frame, "Boss");
    boss2Seen_ |= boss2;
    bossSeen_ |= boss;
    if (now.hitPoints < hitPoints_) hits_ += hitPoints_ - now.hitPoints;
    hitPoints_ = now.hitPoints;
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
