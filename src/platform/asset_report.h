// Failed asset loads told in English on stderr, beside the game's own
// (Japanese) message boxes: the file's full path and the asset folder, and
// once per run, when files are missing, how to get the pack.
#pragma once

namespace platform {

// One line for a file the loaders could not use; `why` says what was wrong
// with it when the file is there ("not a PNG picture", ...).
void reportAssetFailure(const char* path, const char* why);

}  // namespace platform
