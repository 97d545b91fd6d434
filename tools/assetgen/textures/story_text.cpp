// The story: a deep-space relay that went silent, then woke up hostile.
#include "textures/story_text.h"

namespace assetgen {
namespace {
const std::vector<std::vector<std::string>> kCaptions = {
    {"YEAR 2231 - RELAY TERVO"},
    {"The deep-space relay TERVO went silent at 04:12.", "Twelve colonies lost contact at once."},
    {"Then it woke up."},
    {"Its drones sealed the tunnels", "and turned their guns on the colonies."},
    {"One prototype interceptor was still docked", "beneath the relay's core."},
    {"Fly in. Shut TERVO down.", "Bring the colonies back."},
};
const char* kSpoken[] = {
    "Year twenty two thirty one.",
    "The deep space relay, Tervo, went silent at four twelve. Twelve colonies lost contact at once.",
    "Then it woke up.",
    "Its drones sealed the tunnels, and turned their guns on the colonies.",
    "One prototype interceptor was still docked, beneath the relay's core.",
    "Fly in. Shut Tervo down. Bring the colonies back.",
};
}  // namespace

std::vector<std::string> storyCaption(int i) { return kCaptions.at(i); }

std::string storyLine(int i) {
  std::string s;
  for (const std::string& l : kCaptions.at(i)) s += (s.empty() ? "" : " ") + l;
  return s;
}

std::string storySpoken(int i) { return kSpoken[i]; }

}  // namespace assetgen
