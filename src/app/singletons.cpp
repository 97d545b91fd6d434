#include "app/singletons.h"

#include "app/process_end.h"

// Defined first so that it is destroyed last: the platform must outlive the
// game objects, which release their devices in their destructors.
ProcessEnd processEnd;

Display display;
PlayerSide playerSide;
World world;
MusicPlayer musicPlayer;
Keyboard keyboard;
Joystick joystick;
