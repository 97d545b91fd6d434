// The pause: P or a pad's start button stops the game between two frames
// and starts it again. While paused no frame runs (the loop waits for
// messages, as without the focus), the sound holds and the last picture
// stays on screen, dimmed, under a PAUSED caption.
#pragma once

// Pauses or resumes.
void togglePause();
// True while paused.
bool gamePaused();
// The window asks for its picture again (WM_PAINT).
void repaintPaused();
