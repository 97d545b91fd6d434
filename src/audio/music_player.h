// MusicPlayer: the game's four pieces of music (title, story, game, boss),
// decoded from Ogg Vorbis and played one at a time.
#pragma once

#include "platform/os.h"

class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer();

    // Start-up: open the music output and load the four tracks.
    bool init(platform::HWND window, platform::HINSTANCE instance);
    // Stop all music at once, then play track t from its start (t below the
    // number of loaded entries; otherwise nothing happens).
    bool playTrack(int t);
    // Stop all music at once.
    bool stopAll();
    // Lower track t to silence over 5000 ms; it keeps playing silently.
    bool fadeOut(int t);
    void release();
};
