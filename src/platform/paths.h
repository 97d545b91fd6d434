// Asset paths: the game names its files as "t\title.png", relative to the
// working directory.
#pragma once

#include <string>

namespace platform {

// The path to open on this system (a backslash becomes '/').
std::string nativePath(const std::string& gamePath);

}  // namespace platform
