// Pausing as the platform sees it: while the game is paused the audio output
// holds, and the picture last presented stays on screen, dimmed, under a
// caption image; the window posts WM_PAINT when it needs that picture again
// (exposed or resized).
#pragma once

#include <string>

namespace platform {

// Starts or ends the pause. `captionPath`: the caption's PNG (a file of the
// pack), drawn centred over the picture; without it the picture is only dimmed.
void setPaused(bool paused, const std::string& captionPath);
bool paused();
// Shows the paused picture again (on WM_PAINT).
void showPausedPicture();

}  // namespace platform
