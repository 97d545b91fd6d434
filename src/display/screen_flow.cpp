// The screen flow: the game's state machine (title, story, start hold, play,
// game over, clear, staff roll), run inside each frame's scene.
#include "display/display.h"

#include "audio/music_player.h"
#include "player/player_side.h"
#include "world/world.h"

// Not built yet: nothing but the clear colour is shown.
void Display::screenFlow(World&, PlayerSide&, MusicPlayer&, std::int32_t, std::int32_t) {}
bool Display::gameOverScreen() { return false; }
bool Display::staffRollScreen(MusicPlayer&) { return false; }
void Display::clearSequence() {}
bool Display::titleStep(MusicPlayer&, std::int32_t, std::int32_t) { return false; }
bool Display::storyStep(MusicPlayer&, std::int32_t) { return false; }
void Display::screenReset() {}
