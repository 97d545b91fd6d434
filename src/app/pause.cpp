#include "app/pause.h"

#include "platform/paths.h"
#include "platform/pause.h"

void togglePause() {
    // The caption is a picture of the pack, read where the game reads its files.
    platform::setPaused(!platform::paused(), platform::nativePath("t\\paused.png"));
}

bool gamePaused() { return platform::paused(); }

void repaintPaused() { platform::showPausedPicture(); }
