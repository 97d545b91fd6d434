// The pack table against what the game loads: the files its screens and
// objects name, and every asset path quoted in the game's sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "manifest.h"
#include "pack_files.h"

namespace assetgen {
namespace {

// The files the game reads, by who loads them: the display's 23 screen
// pictures and 6 letters; the corridor's 4 tiles; 2 explosion sheets; the
// warp flash; the ship's mesh and exhaust; shots, missile mesh and icon;
// the glyph sheet; 6 gauge images; 2 sights; the radar panel and 3 blips;
// 6 score-board images; 2 bosses, 3 boss beams, 2 enemy-shot looks and 7
// enemy meshes; 17 sound files over the five banks; 4 music tracks; the
// pause caption; and the window's icon.
const std::set<std::string> kGameLoads = {
    "t/gameover.png", "t/title.png", "t/staff.png", "t/story.png", "t/story1.png", "t/story2.png",
    "t/story3.png", "t/story4.png", "t/moji1.png", "t/moji2.png", "t/moji3.png", "t/moji4.png",
    "t/moji5.png", "t/moji6.png", "t/easy.png", "t/hard.png", "t/easy2.png", "t/hard2.png",
    "t/easy3.png", "t/hard3.png", "t/normal.png", "t/normal2.png", "t/normal3.png",
    "x/C.x", "x/L.x", "x/E.x", "x/A.x", "x/R.x", "x/!.x",
    "t/back1.png", "t/back2.png", "t/back3.png", "t/back4.png", "t/effect.png", "t/effect2.png",
    "t/warp.png", "x/mychar.x", "t/bakuha.png", "x/beam3.x", "x/missile.x", "t/missile.png",
    "t/text.png", "t/hp1.png", "t/hp2.png", "t/hp3.png", "t/hp4.png", "t/hp1-2.png", "t/hp2-2.png",
    "t/sight1.png", "t/sight2.png", "t/radar.png", "t/enemy.png", "t/enemy2.png", "t/enemy3.png",
    "t/score.png", "t/waku.png", "t/hitwaku.png", "t/hit.png", "t/hitscore.png", "t/max.png",
    "x/boss.x", "x/boss2.x", "x/bossbeam1.x", "x/bossbeam3.x", "x/beam4.x", "x/tama2.x",
    "x/teki04.x", "x/teki3.x", "x/teki06.x", "x/teki08.x", "x/teki09.x", "x/teki4.x", "x/teki03.x",
    "w/bokaan.wav", "w/radar.wav", "w/pishun.wav", "w/missile.wav", "w/silen.wav", "w/kin.wav",
    "w/camera.wav", "w/sam1.wav", "w/sam2.wav", "w/sam3.wav", "w/sam4.wav", "w/sam5.wav",
    "w/sam6.wav", "w/ok.wav", "w/over.wav", "w/boss.wav", "w/boss2.wav",
    "o/title.ogg", "o/story.ogg", "o/game.ogg", "o/boss.ogg", "t/paused.png", "t/icon.png",
};

TEST(PackTable, NamesExactlyTheFilesTheGameLoads) {
  EXPECT_EQ(kGameLoads.size(), 96u);
  std::set<std::string> table;
  for (const AssetEntry& e : manifest()) {
    EXPECT_TRUE(table.insert(e.path).second) << "listed twice: " << e.path;
    EXPECT_TRUE(kGameLoads.count(e.path)) << "not loaded by the game: " << e.path;
    EXPECT_FALSE(e.shows.empty()) << e.path;
    EXPECT_FALSE(e.where.empty()) << e.path;
  }
  for (const std::string& p : kGameLoads) EXPECT_TRUE(table.count(p)) << "missing from the table: " << p;
  EXPECT_EQ(gameFileCount(), 96);
}

TEST(PackTable, FoldersMatchKinds) {
  const std::map<Kind, std::pair<std::string, std::string>> rules = {
      {Kind::Texture, {"t/", ".png"}}, {Kind::Mesh, {"x/", ".x"}}, {Kind::Sound, {"w/", ".wav"}},
      {Kind::Music, {"o/", ".ogg"}}};
  for (const AssetEntry& e : manifest()) {
    auto it = rules.find(e.kind);
    if (it == rules.end()) continue;
    EXPECT_EQ(e.path.rfind(it->second.first, 0), 0u) << e.path;
    EXPECT_TRUE(e.path.size() > it->second.second.size() &&
                e.path.compare(e.path.size() - it->second.second.size(), std::string::npos, it->second.second) == 0)
        << e.path;
  }
  ASSERT_NE(findAsset("t\\title.png"), nullptr);  // the game's own spelling
  EXPECT_EQ(findAsset("t\\title.png")->path, "t/title.png");
  EXPECT_EQ(findAsset("t/nothing.png"), nullptr);
}

// Every asset path the game's code quotes ("t\\title.png" in C++ source)
// must be a file of the pack.
TEST(PackTable, CoversEveryAssetPathInTheGameSources) {
  const std::regex literal(R"re("([txwo])\\\\([^"\\]+\.(png|x|wav|ogg))")re");
  std::filesystem::path src = std::filesystem::path(TERVO_SOURCE_DIR) / "src";
  ASSERT_TRUE(std::filesystem::exists(src));
  int found = 0;
  for (const auto& f : std::filesystem::recursive_directory_iterator(src)) {
    if (!f.is_regular_file()) continue;
    std::string ext = f.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    std::string text = test::readText(f.path());
    for (auto m = std::sregex_iterator(text.begin(), text.end(), literal); m != std::sregex_iterator(); ++m) {
      std::string path = (*m)[1].str() + "/" + (*m)[2].str();
      ++found;
      EXPECT_NE(findAsset(path), nullptr) << f.path() << " loads " << path << ", which the pack lacks";
    }
  }
  RecordProperty("asset_paths_in_sources", found);
}

TEST(PackTable, RegexFindsTheGamesSpelling) {
  // The scan above must recognise the way the sources write paths.
  const std::regex literal(R"re("([txwo])\\\\([^"\\]+\.(png|x|wav|ogg))")re");
  std::string sample = R"(load("t\\title.png"); mesh("x\\!.x"); other("t/title.png");)";
  auto n = std::distance(std::sregex_iterator(sample.begin(), sample.end(), literal), std::sregex_iterator());
  EXPECT_EQ(n, 2);
}

}  // namespace
}  // namespace assetgen
