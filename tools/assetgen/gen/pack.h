// Builders: the generator function for each file of the pack, filled in by
// the texture, mesh, sound and music modules and run by main.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gen/image.h"

namespace assetgen {

struct Builders {
  std::map<std::string, std::function<Image()>> images;         // PNG files
  std::map<std::string, std::function<std::string()>> meshes;   // .x text
  std::map<std::string, std::function<std::vector<uint8_t>()>> files;  // WAV, Ogg
};

void addScreenImages(Builders& b);
void addCaptionImages(Builders& b);
void addHudImages(Builders& b);
void addFieldImages(Builders& b);
void addMeshes(Builders& b);
void addSounds(Builders& b);
void addMusic(Builders& b);

}  // namespace assetgen
