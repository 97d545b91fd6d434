// Broken files of the field of play, end to end: every file the World and
// the player's side load at start-up, missing, cut short or overwritten, shows its boxes in the
// order the loads run, each with an English line that names the file, and nothing else, and the run ends with a failure code
// before its first frame; a broken sound shows no box and the run goes on.
// In the sanitizer builds a crash or a sanitizer report fails the case too.
//
// A failure ends only the load step it happens in, so one run breaks one
// file of every step at once: the first files of all steps, then the
// second ones, and so on. Each run must show exactly the boxes of the files
// it broke, in load order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace fs = std::filesystem;

namespace {

// One load that can fail: the file, the load step it belongs to (a failure
// ends its step, so a run breaks at most one file of a step) and the box it
// shows; sounds show none.
struct Load {
    const char* path;  // inside the pack
    const char* step;
    const char* box;   // empty for sounds
};

// Every load, in the order the start-up runs them. A mesh several groups
// share fails once for each of them.
const std::vector<Load>& loads() {
    static const std::vector<Load> all = {
        {"t/back1.png", "background", "背景ロスト"},
        {"t/back2.png", "background", "背景ロスト"},
        {"t/back3.png", "background", "背景ロスト"},
        {"t/back4.png", "background", "背景ロスト"},
        {"x/teki04.x", "enemy4", "enemy1ロスト"},
        {"x/teki3.x", "enemy2", "enemy2ロスト"},
        {"x/teki06.x", "enemy3", "enemy3ロスト"},
        {"x/teki04.x", "enemy4", "Enemy4ロスト"},
        {"t/warp.png", "enemy4", "ワープ画像"},
        {"x/teki06.x", "enemy3", "enemy5ロスト"},
        {"x/teki08.x", "enemy6", "Enemy6ロスト"},
        {"x/teki09.x", "enemy7", "Enemy7ロスト"},
        {"x/teki4.x", "enemy8", "Enemy8ロスト"},
        {"x/teki3.x", "enemy2", "enemy9ロスト"},
        {"x/teki06.x", "enemy3", "enemy10ロスト"},
        {"x/teki03.x", "enemy11", "enemy11ロスト"},
        {"x/teki03.x", "enemy11", "enemy12ロスト"},
        {"x/beam4.x", "enemyShots", "tamaロスト"},  // the second shot mesh is then not tried
        {"x/tama2.x", "enemyShots", "tamaロスト"},
        {"t/effect.png", "shotBlast", "背景ロスト"},
        {"t/effect2.png", "missileBlast", "背景ロスト"},
        {"t/enemy.png", "radarBlips", "レーダーエネミー画像ロスト"},
        {"t/enemy2.png", "radarBlips", "レーダーエネミー2画像ロスト"},
        {"t/enemy3.png", "radarBlips", "レーダーエネミー3画像ロスト"},
        {"t/radar.png", "radarPanel", "レーダー画像ロスト"},  // a step of its own
        {"t/score.png", "score", "スコア画像ロスト"},
        {"t/waku.png", "score", "waku画像ロスト"},
        {"t/hitwaku.png", "score", "hitwaku画像ロスト"},
        {"t/hit.png", "score", "hit画像ロスト"},
        {"t/hitscore.png", "score", "hitscore画像ロスト"},
        {"t/max.png", "score", "max画像ロスト"},
        {"x/boss.x", "boss", "Bossロスト"},
        {"x/boss2.x", "boss2", "Boss2ロスト"},
        {"x/bossbeam1.x", "bossBeams", "tamaロスト"},  // the late look is then not tried
        {"x/bossbeam3.x", "bossBeams", "tamaロスト"},
        {"x/beam3.x", "spiralBeams", "tamaロスト"},
        // The player's side loads after the World.
        {"t/text.png", "rateReadout", "文字ファイルロスト"},
        {"x/mychar.x", "ship", "mycharロスト"},  // the exhaust texture is then not tried
        {"t/bakuha.png", "ship", "bakuhaロスト"},
        {"x/beam3.x", "spiralBeams", "tamaロスト"},  // the shots share the beams' mesh
        {"x/missile.x", "missile", "tamaロスト"},
        {"t/missile.png", "missile", "残弾数ロスと"},
        {"t/effect.png", "shotBlast", "背景ロスト"},  // the player's blast shares the World's sheet
        {"t/hp1.png", "hp", "ＨＰ画像ロスト"},
        {"t/hp2.png", "hp", "ＨＰ2画像ロスト"},
        {"t/hp3.png", "hp", "ＨＰ3画像ロスト"},
        {"t/hp4.png", "hp", "ＨＰ4画像ロスト"},
        {"t/hp1-2.png", "hp", "ＨＰ5画像ロスト"},
        {"t/hp2-2.png", "hp", "ＨＰ6画像ロスト"},
        {"t/sight1.png", "sight", "照準画像ロスト"},
        {"t/sight2.png", "sight", "照準画像ロスト"},
        {"w/bokaan.wav", "", ""},
        {"w/radar.wav", "", ""},
        {"w/boss.wav", "", ""},
        {"w/boss2.wav", "", ""},
        {"w/pishun.wav", "", ""},
        {"w/missile.wav", "", ""},
        {"w/silen.wav", "", ""},
    };
    return all;
}

// The runs: round r breaks the r-th file of every step; the sounds, which
// show no box and stop nothing, break together in a run of their own.
std::vector<std::vector<std::string>> rounds() {
    std::map<std::string, int> filesOfStep;
    std::set<std::string> placed;
    std::vector<std::vector<std::string>> runs;
    std::vector<std::string> sounds;
    for (const Load& load : loads()) {
        if (!placed.insert(load.path).second) continue;
        if (*load.box == '\0') {
            sounds.push_back(load.path);
            continue;
        }
        const std::size_t r = static_cast<std::size_t>(filesOfStep[load.step]++);
        if (runs.size() <= r) runs.resize(r + 1);
        runs[r].push_back(load.path);
    }
    runs.push_back(sounds);
    return runs;
}

// The loads that show a box in a run with these files broken, in load order.
std::vector<Load> boxesFor(const std::vector<std::string>& broken) {
    std::vector<Load> boxes;
    for (const Load& load : loads())
        if (*load.box != '\0' && std::find(broken.begin(), broken.end(), load.path) != broken.end())
            boxes.push_back(load);
    return boxes;
}

enum class Damage {
    Missing,
    CutShort,  // the first half of the bytes
    Garbage,   // the same length, random bytes after the format's header
};

const char* damageName(Damage d) {
    switch (d) {
        case Damage::Missing: return "missing";
        case Damage::CutShort: return "cut to its first half";
        case Damage::Garbage: return "random after its header";
    }
    return "?";
}

// Bytes of the header each format's reader checks first: the .x signature
// line, the PNG signature with the IHDR chunk, the RIFF/WAVE form header.
// Garbage keeps them, so the readers get past their first check.
std::size_t headerBytes(const std::string& path) {
    const std::string ext = fs::path(path).extension().string();
    if (ext == ".x") return 16;
    if (ext == ".png") return 8 + 25;
    return 12;
}

std::vector<char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
}

// A copy of the built pack in a scratch folder, removed at the end. The
// music is left out: the game runs silent without it, and its decoding
// would only slow the many short runs.
class PackCopy {
public:
    PackCopy() : dir_(makeTempDir("fieldpack")) {
        for (const char* sub : {"t", "x", "w"})
            fs::copy(std::string(TERVO_BUILD_DIR) + "/bin/" + sub, dir_ + "/" + sub, fs::copy_options::recursive);
    }
    ~PackCopy() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    PackCopy(const PackCopy&) = delete;
    PackCopy& operator=(const PackCopy&) = delete;
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

// One file of the copy damaged for as long as this lives, then put back.
class DamagedFile {
public:
    DamagedFile(const std::string& path, Damage damage) : path_(path), original_(readBytes(path)) {
        if (damage == Damage::Missing) {
            fs::remove(path_);
            return;
        }
        std::vector<char> bytes = original_;
        if (damage == Damage::CutShort) bytes.resize(bytes.size() / 2);
        if (damage == Damage::Garbage) {
            std::mt19937 random(20240611u);  // the same bytes every run
            for (std::size_t i = headerBytes(path); i < bytes.size(); ++i)
                bytes[i] = static_cast<char>(random() >> 24);
        }
        writeBytes(path_, bytes.data(), bytes.size());
    }
    ~DamagedFile() { writeBytes(path_, original_.data(), original_.size()); }
    DamagedFile(const DamagedFile&) = delete;
    DamagedFile& operator=(const DamagedFile&) = delete;
    bool hadBytes() const { return !original_.empty(); }

private:
    std::string path_;
    std::vector<char> original_;
};

// What the run must write on standard error: for each box shown before the
// first frame, the English line that names the file and why, then the box's
// own line; after the first missing file, the hint about the pack; nothing else.
std::string expectedBoxLines(const std::vector<Load>& boxes, const std::string& pack, Damage damage) {
    std::string lines;
    for (const Load& load : boxes) {
        const bool mesh = fs::path(load.path).extension() == ".x";
        const char* why = damage == Damage::Missing ? "No such file or directory"
                          : mesh                    ? "not a DirectX .x mesh, or a damaged one"
                                                    : "not a PNG picture, or a damaged one";
        lines += "tervo: cannot load " + pack + "/" + load.path + ": " + why + " (asset folder " + pack + ")\n";
        if (damage == Damage::Missing && &load == &boxes.front())
            lines += "tervo: the asset pack was not found in " + pack +
                     "; build it (see README) or pass --assets DIR\n";
        lines += "メッセージ: " + std::string(load.box) + "\n";
    }
    return lines;
}

void runEveryFile(Damage damage) {
    PackCopy pack;
    for (const auto& broken : rounds()) {
        std::string names;
        for (const std::string& path : broken) names += path + " ";
        SCOPED_TRACE(names + damageName(damage));
        const std::vector<Load> boxes = boxesFor(broken);
        GameRun run;
        {
            std::vector<std::unique_ptr<DamagedFile>> damaged;
            for (const std::string& path : broken) {
                damaged.push_back(std::make_unique<DamagedFile>(pack.dir() + "/" + path, damage));
                ASSERT_TRUE(damaged.back()->hadBytes()) << path << ": the built pack lacks the file";
            }
            GameRunRequest r;
            r.args = {"--frames", "5", "--assets", pack.dir()};
            r.timeoutSeconds = 120;
            run = runGame(r);
        }
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
        EXPECT_EQ(run.err, expectedBoxLines(boxes, pack.dir(), damage));
        if (boxes.empty()) {
            // Only sounds are broken: their entries stay empty and the game runs on.
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(run.trace.size(), 5u);
        } else {
            // The destroyed window ends the loop at its first pass.
            EXPECT_EQ(run.exitCode, 1) << run.err;
            EXPECT_TRUE(run.trace.empty());
        }
    }
}

}  // namespace

TEST(FieldLoadFailure, MissingFiles) { runEveryFile(Damage::Missing); }

TEST(FieldLoadFailure, FilesCutShort) { runEveryFile(Damage::CutShort); }

TEST(FieldLoadFailure, FilesOfGarbage) { runEveryFile(Damage::Garbage); }

TEST(FieldLoadFailure, ThePackCopyLoadsCleanlyWhenNothingIsBroken) {
    // The reference run: the copy itself shows no box, so every box above
    // comes from the one damaged file.
    PackCopy pack;
    GameRunRequest r;
    r.args = {"--frames", "5", "--assets", pack.dir()};
    const GameRun run = runGame(r);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.trace.size(), 5u);
}
