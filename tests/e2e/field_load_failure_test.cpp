// Broken files of the field of play, end to end: every file the World loads
// at start-up, missing, cut short or overwritten, shows its boxes in the
// order the loads run and nothing else, and the run ends with a failure code
// before its first frame; a broken sound shows no box and the run goes on.
// In the sanitizer builds a crash or a sanitizer report fails the case too.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace fs = std::filesystem;

namespace {

struct FieldFile {
    const char* path;                // inside the pack
    std::vector<std::string> boxes;  // the texts it fails with, in load order; none for sounds
};

// In the World's load order. A mesh several groups share fails once for each.
const std::vector<FieldFile>& fieldFiles() {
    static const std::vector<FieldFile> files = {
        {"t/back1.png", {"背景ロスト"}},
        {"t/back2.png", {"背景ロスト"}},
        {"t/back3.png", {"背景ロスト"}},
        {"t/back4.png", {"背景ロスト"}},
        {"x/teki04.x", {"enemy1ロスト", "Enemy4ロスト"}},
        {"x/teki3.x", {"enemy2ロスト", "enemy9ロスト"}},
        {"x/teki06.x", {"enemy3ロスト", "enemy5ロスト", "enemy10ロスト"}},
        {"t/warp.png", {"ワープ画像"}},
        {"x/teki08.x", {"Enemy6ロスト"}},
        {"x/teki09.x", {"Enemy7ロスト"}},
        {"x/teki4.x", {"Enemy8ロスト"}},
        {"x/teki03.x", {"enemy11ロスト", "enemy12ロスト"}},
        {"x/beam4.x", {"tamaロスト"}},  // the second shot mesh is then not tried
        {"x/tama2.x", {"tamaロスト"}},
        {"t/effect.png", {"背景ロスト", "背景ロスト"}},  // the player side's blast loads it too
        {"t/effect2.png", {"背景ロスト"}},
        {"x/boss.x", {"Bossロスト"}},
        {"x/boss2.x", {"Boss2ロスト"}},
        {"w/bokaan.wav", {}},
        {"w/radar.wav", {}},
    };
    return files;
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

// What the run must write on standard error: the boxes shown before the
// first frame, one line each, and nothing else.
std::string expectedBoxLines(const std::vector<std::string>& texts) {
    std::string lines;
    for (const std::string& t : texts) lines += "メッセージ: " + t + "\n";
    return lines;
}

void runEveryFile(Damage damage) {
    PackCopy pack;
    for (const FieldFile& file : fieldFiles()) {
        SCOPED_TRACE(std::string(file.path) + " " + damageName(damage));
        GameRun run;
        {
            DamagedFile damaged(pack.dir() + "/" + file.path, damage);
            ASSERT_TRUE(damaged.hadBytes()) << "the built pack lacks the file";
            GameRunRequest r;
            r.args = {"--frames", "5", "--assets", pack.dir()};
            r.timeoutSeconds = 120;
            run = runGame(r);
        }
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
        EXPECT_EQ(run.err, expectedBoxLines(file.boxes));
        if (file.boxes.empty()) {
            // The sound's entry stays empty; the game runs on.
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
