// tervo-gallery [PACKDIR]: a window that steps through every mesh (on a
// turntable, lit as in the game) and every image (keyed, over a
// checkerboard) with the left and right arrows; Escape ends it.
// tervo-gallery --headless --sheet OUT.png [PACKDIR]: writes OUT.png (every
// mesh from three angles, lit as in the game), OUT-images.png (every image
// at its size over a checkerboard, colour key applied) and OUT-screens.png
// (title, story, HUD and game over as the game places them) and
// OUT-clear.png (the stage-clear letters from the clear orbit's resting
// camera and from behind). PACKDIR is the
// folder holding t/ and x/ (default: the program's own folder).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "sheets.h"

int main(int argc, char** argv) {
  bool headless = false;
  int frames = 0;
  std::string sheet, pack = std::filesystem::path(argv[0]).parent_path().string();
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--headless") {
      headless = true;
    } else if (a == "--sheet" && i + 1 < argc) {
      sheet = argv[++i];
    } else if (a == "--frames" && i + 1 < argc) {  // end after N frames (for scripted runs)
      frames = std::atoi(argv[++i]);
    } else {
      pack = a;
    }
  }
  if (!headless) return gallery::runViewer(pack, frames);
  if (sheet.empty()) {
    std::fprintf(stderr, "usage: tervo-gallery [--frames N] [PACKDIR] | --headless --sheet OUT.png [PACKDIR]\n");
    return 2;
  }
  std::string error;
  auto script = platform::InputScript::parse("", error);
  if (!script) {
    std::fprintf(stderr, "tervo-gallery: %s\n", error.c_str());
    return 1;
  }
  platform::installBackend(std::make_unique<platform::HeadlessBackend>(std::move(*script), 0, 0));
  std::filesystem::path out = sheet;
  auto sibling = [&](const char* tag) {
    return (out.parent_path() / (out.stem().string() + tag + out.extension().string())).string();
  };
  const std::string images = sibling("-images"), screens = sibling("-screens"), clear = sibling("-clear");
  for (auto [err, file] : {std::pair{gallery::writeMeshSheet(pack, sheet), sheet},
                           std::pair{gallery::writeImageSheet(pack, images), images},
                           std::pair{gallery::writeScreenSheet(pack, screens), screens},
                           std::pair{gallery::writeClearSheet(pack, clear), clear}}) {
    if (!err.empty()) {
      std::fprintf(stderr, "tervo-gallery: %s: %s\n", file.c_str(), err.c_str());
      return 1;
    }
    std::printf("tervo-gallery: wrote %s\n", file.c_str());
  }
  platform::releaseBackend();
  return 0;
}
