// The asset pack's table: every file the game loads, what it shows, where the
// game draws or plays it, and the format facts the generator and its tests
// agree on (sizes, colour keys, draw positions, hit boxes, lengths).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

enum class Kind { Texture, Mesh, Sound, Music, Icon };

// How a texture is put on screen, which decides what "fits" means for it.
enum class Placing {
  Cover,    // full-screen picture: must cover all of 800x600 where drawn
  Overlay,  // sprite: every visible pixel must land inside 800x600
  Cells,    // sheet of 32x32 or 8x8 cells drawn cell by cell
  Quad,     // texture on a quad in the 3D field (no screen position)
};

struct TextureInfo {
  int width = 0, height = 0;
  uint32_t key = 0;        // ARGB colour key; exactly this colour is transparent
  Placing placing = Placing::Quad;
  int x = 0, y = 0;        // top-left draw position (resting position)
  float scale = 1.0f;      // sprite scale
  int cellsX = 0, cellsY = 0;  // cell grid for sheets (Cells, explosions)
  bool alpha = false;      // RGBA (soft edges for blended quads) instead of RGB
};

struct MeshInfo {
  float hx = 0, hy = 0, hz = 0;  // hit-box half extents the model is sized to
  int minMaterials = 1;
};

struct SoundInfo {
  int rate = 22050, bits = 16, channels = 1;
  float minSeconds = 0.05f, maxSeconds = 5.0f;
};

struct MusicInfo {
  float minSeconds = 0, maxSeconds = 0;
};

struct AssetEntry {
  std::string path;   // relative to the game folder, forward slashes: "t/title.png"
  Kind kind;
  std::string shows;  // what the file shows or sounds like
  std::string where;  // which screen or object draws or plays it
  TextureInfo tex;
  MeshInfo mesh;
  SoundInfo sound;
  MusicInfo music;
};

// The whole pack, in a fixed order.
const std::vector<AssetEntry>& manifest();

// The entry for a path ("t/title.png" or the game's "t\\title.png"), or null.
const AssetEntry* findAsset(const std::string& path);

// Number of files the game loads: its screens' and objects' files and the
// window icon.
int gameFileCount();

}  // namespace assetgen
