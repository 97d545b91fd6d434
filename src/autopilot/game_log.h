// GameLog: the autopilot's account on stderr: a line at each change of
// screen and when each boss enters, and one line for each game when it ends
// (staff roll or game over) with the frame, the hits taken and the score.
#pragma once

#include <cstdint>

#include "autopilot/game_view.h"

namespace autopilot {

class GameLog {
public:
    // `frame` counts the frames run before this one.
    void note(const GameView& now, std::uint64_t frame, int difficulty);

private:
    Screen last_ = Screen::Title;
    int games_ = 0;
    int hits_ = 0;
    int hitPoints_ = 0;
    bool boss2Seen_ = false, bossSeen_ = false;
};

}  // namespace autopilot
