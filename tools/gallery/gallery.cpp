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
// tervo-gallery --montage OUT.png COLUMNS LABEL=FILE.png...: lays
// screenshots out in a grid at half size under their labels (an empty FILE
// leaves a blank cell); scripts/play_sheet uses it.
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
  if (argc >= 4 && std::string(argv[1]) == "--montage") {
    std::vector<std::pair<std::string, std::string>> cells;
    for (int i = 4; i < argc; ++i) {
      std::string a = argv[i];
      size_t eq = a.rfind('=');
      cells.emplace_back(a.substr(0, eq == std::string::npos ? 0 : eq), eq == std::string::npos ? a : a.substr(eq + 1));
    }
    std::string err = gallery::writeMontage(cells, std::atoi(argv[3]), argv[2]);
    if (!err.empty()) std::fprintf(stderr, "tervo-gallery: %s: %s\n", argv[2], err.c_str());
    return err.empty() ? 0 : 1;
  }
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
    std::fprintf(stderr,
                 "usage: tervo-gallery [--frames N] [PACKDIR] | --headless --sheet OUT.png [PACKDIR]\n"
                 "       | --montage OUT.png COLUMNS LABEL=FILE.png...\n");
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
