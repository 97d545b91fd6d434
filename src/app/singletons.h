// The six long-lived objects of the game, constructed in this order before
// the entry runs and destroyed in the reverse order at exit.
#pragma once

#include "audio/music_player.h"
#include "display/display.h"
#include "input/joystick.h"
#include "input/keyboard.h"
#include "player/player_side.h"
#include "world/world.h"

extern Display display;
extern PlayerSide playerSide;
extern World world;
extern MusicPlayer musicPlayer;
extern Keyboard keyboard;
extern Joystick joystick;
