#include "support/mini_pack.h"

#include <filesystem>
#include <fstream>

#include "platform/gfx/png_image.h"
#include "platform/os.h"

namespace fs = std::filesystem;

namespace {

// A triangle with two materials (the second with a glow) over two faces.
const char* miniMesh = R"(xof 0302txt 0032
Mesh {
 4;
 -1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;, 0.0;-1.0;0.0;;
 2;
 3;0,1,2;,
 3;0,2,3;;
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  Material {
   1.0;0.5;0.25;1.0;;
   8.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
  Material {
   0.2;0.2;0.2;1.0;;
   4.0;
   0.0;0.0;0.0;;
   0.0;0.5;1.0;;
  }
 }
}
)";

}  // namespace

void writeMiniPack(const std::string& dir, const std::vector<std::string>& files) {
    for (const auto& name : files) {
        const fs::path path = fs::path(dir) / platform::nativePath(name);
        fs::create_directories(path.parent_path());
        if (path.extension() == ".png") {
            std::vector<std::uint8_t> rgba(4 * 4 * 4, 0xFF);
            platform::gfx::writePng(path.c_str(), 4, 4, rgba);
        } else {
            std::ofstream(path) << miniMesh;
        }
    }
}

std::vector<std::string> displayFiles() {
    std::vector<std::string> files = {"t\\gameover.png", "t\\title.png", "t\\staff.png", "t\\story.png"};
    for (const char* name : {"story1", "story2", "story3", "story4", "moji1", "moji2", "moji3", "moji4",
                             "moji5", "moji6", "easy", "hard", "easy2", "hard2", "easy3", "hard3", "normal",
                             "normal2", "normal3"})
        files.push_back(std::string("t\\") + name + ".png");
    for (const char* letter : {"C", "L", "E", "A", "R", "!"}) files.push_back(std::string("x\\") + letter + ".x");
    return files;
}
