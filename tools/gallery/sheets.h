// The gallery's contact sheets: every mesh of the pack lit as the game
// lights it, from three angles; every image at its size over a checkerboard
// with its colour key applied; the screens as the game composes them.
#pragma once

#include <string>

namespace gallery {

// Both return an error text, empty on success.
std::string writeMeshSheet(const std::string& packDir, const std::string& outPng);
std::string writeImageSheet(const std::string& packDir, const std::string& outPng);
// The 2D images composed as the game's screens and HUD place them.
std::string writeScreenSheet(const std::string& packDir, const std::string& outPng);

}  // namespace gallery
