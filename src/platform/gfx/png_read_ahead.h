// The texture loader's PNG files: each read whole and decoded, by the loader
// itself or ahead of it on a thread of its own. At start-up that thread goes
// through the pack's pictures while the window and the GL context are made,
// so the loader mostly finds its files done. The outcome of a load is the
// same either way: the same bytes, the same checks, the same failures.
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

// A PNG file as the loader needs it.
struct LoadedPng {
    bool read = false;     // the file could be read (and was not too large)
    bool decoded = false;  // and decoded whole: image holds level 0
    bool hasAlpha = false;
    MipLevel image;
};

// Reads and decodes the file the game names by path (relative, with
// backslashes), or takes it from the read-ahead if that has it and the file
// has not changed since; waits if the read-ahead is on it right now.
LoadedPng loadPng(const char* path);

// Starts reading and decoding these files (native paths, relative to the
// working folder) one after another on a thread of its own.
void startPngReadAhead(std::vector<std::string> files);

// Waits until the thread has been through its list (for tests).
void waitForPngReadAhead();

// Stops the thread after the file in hand and drops what was not taken.
void stopPngReadAhead();

}  // namespace platform::gfx
