// The story's words: the six captions shown over the story pictures and
// the lines spoken with them.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Caption i (0-5) as shown, one string per line.
std::vector<std::string> storyCaption(int i);
// Caption i on one line.
std::string storyLine(int i);
// What the voice says for caption i (numbers spelled out for the speech).
std::string storySpoken(int i);

}  // namespace assetgen
