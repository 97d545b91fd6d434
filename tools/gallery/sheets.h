// The gallery's contact sheets: every mesh of the pack lit as the game
// lights it, from three angles; every image at its size over a checkerboard
// with its colour key applied; the screens as the game composes them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "manifest.h"
#include "platform/gfx/d3dx9.h"

namespace gallery {

constexpr platform::D3DCOLOR kBackdrop = 0xFF283040;

// The game's render states and its one white directional light.
void setGameLight(platform::IDirect3DDevice9* d);
// Draws a mesh turned by yaw about y, seen from pitch above, framed to fit
// a sphere of `radius` (inside a scene the caller begins and ends).
void drawMeshView(platform::IDirect3DDevice9* d, platform::ID3DXMesh* mesh, const platform::D3DXMATERIAL* mats,
                  platform::DWORD count, float radius, float yawDeg, float pitchDeg);
float viewRadius(const assetgen::AssetEntry& e);
// The corridor, the player's ship, some enemies and the second boss as the
// game draws them from its normal camera (inside a begun scene).
void drawField(platform::IDirect3DDevice9* d, const std::string& packDir);
// The window: every mesh on a turntable and every image over a checkerboard
// with its key applied; left and right arrows step, Escape ends. With
// frames > 0 it ends by itself after that many frames.
int runViewer(const std::string& packDir, int frames);

// Both return an error text, empty on success.
std::string writeMeshSheet(const std::string& packDir, const std::string& outPng);
std::string writeImageSheet(const std::string& packDir, const std::string& outPng);
// The 2D images composed as the game's screens and HUD place them.
std::string writeScreenSheet(const std::string& packDir, const std::string& outPng);
// The stage-clear letters at rest as the game places them, seen from where
// the clear orbit's camera stops (left) and from behind the word (right).
std::string writeClearSheet(const std::string& packDir, const std::string& outPng);

// Screenshots (label, PNG file; an empty file leaves its cell blank) in a
// grid of `columns`, each halved, under its label.
std::string writeMontage(const std::vector<std::pair<std::string, std::string>>& cells, int columns,
                         const std::string& outPng);

}  // namespace gallery
