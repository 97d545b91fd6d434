#include "audio/music_player.h"

// Music is not played yet: every call is an empty operation with its final
// signature.

MusicPlayer::~MusicPlayer() { release(); }

bool MusicPlayer::init(platform::HWND, platform::HINSTANCE) { return false; }
bool MusicPlayer::playTrack(int) { return false; }
bool MusicPlayer::stopAll() { return false; }
bool MusicPlayer::fadeOut(int) { return false; }
void MusicPlayer::release() {}
