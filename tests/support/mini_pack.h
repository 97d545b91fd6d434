// A tiny stand-in asset pack for in-process tests of the loaders: small
// PNG images and one-triangle meshes under the game's file names.
#pragma once

#include <string>
#include <vector>

// Writes the named files ("t\\title.png", "x\\C.x", ...) into `dir`.
void writeMiniPack(const std::string& dir, const std::vector<std::string>& files);

// Every file the Display loads, in its load order.
std::vector<std::string> displayFiles();
