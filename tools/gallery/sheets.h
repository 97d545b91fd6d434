// The gallery's two contact sheets: every mesh of the pack lit as the game
// lights it, from three angles, and every image at its size over a
// checkerboard with its colour key applied.
#pragma once

#include <string>

namespace gallery {

// Both return an error text, empty on success.
std::string writeMeshSheet(const std::string& packDir, const std::string& outPng);
std::string writeImageSheet(const std::string& packDir, const std::string& outPng);

}  // namespace gallery
