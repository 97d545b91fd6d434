// Replays end to end: a recorded run played back headless gives the same
// trace line for line; bad replay files and desyncs end in one line with
// exit code 2; the volume options scale the --audio-out mix; the mix of a
// boss fight on hard has headroom and no offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/replay/replay_format.h"
#include "support/run_game.h"

namespace {

// Every group but the display's device calls.
const std::string groups = "input,controlMode,rate,boxes,display,audio,world,player";

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

GameRun runWith(std::vector<std::string> args, const std::string& script = "") {
    GameRunRequest r;
    r.trace = false;
    r.script = script;
    r.args = std::move(args);
    r.timeoutSeconds = 300;
    return runGame(r);
}

// The first line at which two traces differ, or -1 when they are the same.
long firstDifference(const std::string& pathA, const std::string& pathB, std::size_t& lines) {
    std::ifstream a(pathA), b(pathB);
    std::string la, lb;
    lines = 0;
    for (;;) {
        const bool moreA = static_cast<bool>(std::getline(a, la)), moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB) return -1;
        if (moreA != moreB || la != lb) return static_cast<long>(lines);
        ++lines;
    }
}

void expectOneLineError(const GameRun& run, const std::string& what) {
    EXPECT_EQ(run.exitCode, 2) << what << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << what << ": " << run.err;
    EXPECT_NE(run.err.find(what), std::string::npos) << run.err;
}

}  // namespace

TEST(ReplayEndToEnd, AnAutopilotRunReplaysFrameForFrameWithoutTheAutopilot) {
    // Hard on clock start 10 loses all three hit points in the waves (game
    // over at frame 3922); the autopilot then starts a second game.
    const std::string dir = makeTempDir("replay-auto");
    const GameRun recorded = runWith({"--autoplay", "--autoplay-difficulty", "hard", "--clock-start", "10",
                                      "--frames", "4600", "--record", dir + "/run.rpl", "--trace",
                                      dir + "/recorded.jsonl", "--trace-groups", groups});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
    ASSERT_NE(recorded.err.find("game 1 on hard: game over"), std::string::npos) << recorded.err;
    ASSERT_NE(recorded.err.find("frame 4573: play"), std::string::npos) << recorded.err;

    const GameRun replayed =
        runWith({"--replay", dir + "/run.rpl", "--trace", dir + "/replayed.jsonl", "--trace-groups", groups});
    EXPECT_EQ(replayed.exitCode, 0) << replayed.err;
    EXPECT_EQ(replayed.err.find("autoplay"), std::string::npos);  // no autopilot ran
    std::size_t lines = 0;
    EXPECT_EQ(firstDifference(dir + "/recorded.jsonl", dir + "/replayed.jsonl", lines), -1);
    EXPECT_EQ(lines, 4600u);
    std::filesystem::remove_all(dir);
}

TEST(ReplayEndToEnd, AScriptWithAJoystickWindowEventsAndAPracticeStartReplays) {
    // The start tick travels in the replay; the joystick's reads, the focus
    // loss (its failed reads) and the minimised frames come back as recorded.
    const std::string dir = makeTempDir("replay-script");
    const std::string script =
        "0 joy:0,0,b3\n60-120 joy:-1000,-1000,b3\n121-200 joy:800,300,b2\n150 focus-lost\n170 focus-gained\n"
        "230 minimize\n240 restore\n260-300 joy:0,1000,b3\n";
    const GameRun recorded = runWith({"--start-tick", "4490", "--frames", "320", "--record", dir + "/run.rpl",
                                      "--trace", dir + "/recorded.jsonl", "--trace-groups", groups},
                                     script);
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
    const GameRun replayed =
        runWith({"--replay", dir + "/run.rpl", "--trace", dir + "/replayed.jsonl", "--trace-groups", groups});
    EXPECT_EQ(replayed.exitCode, 0) << replayed.err;
    std::size_t lines = 0;
    EXPECT_EQ(firstDifference(dir + "/recorded.jsonl", dir + "/replayed.jsonl", lines), -1);
    EXPECT_EQ(lines, 320u);
    // The joystick played, and a game ran (where the start tick matters).
    const std::string trace = slurp(dir + "/replayed.jsonl");
    EXPECT_NE(trace.find("\"controlMode\":1"), std::string::npos);
    EXPECT_NE(trace.find("\"inGame\":1"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(ReplayEndToEnd, BadReplaysStopBeforeTheGameInOneLine) {
    const std::string dir = makeTempDir("replay-bad");
    ASSERT_EQ(runWith({"--frames", "30", "--record", dir + "/good.rpl"}, "0-29 z\n").exitCode, 0);
    const std::string good = slurp(dir + "/good.rpl");
    ASSERT_GT(good.size(), 100u);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return dir + "/" + name;
    };
    std::string otherVersion = good;
    otherVersion[8] = 1;
    std::string badSum = good, badKind = good;
    badSum[good.size() - 2] ^= 0x10;  // inside the end record's checksum
    badKind[platform::replay::headerSize] = 0x7F;

    // A file that is fine but holds reads the game does not make first.
    namespace rp = platform::replay;
    std::uint8_t buf[64];
    std::string wrongReads(reinterpret_cast<const char*>(buf), rp::encodeHeader(rp::Header{}, buf));
    wrongReads.append(reinterpret_cast<const char*>(buf), rp::encodeValue(rp::Kind::JoystickPoll, 0, buf));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(wrongReads.data());
    const std::uint32_t sum = rp::checksum(bytes, wrongReads.size(), rp::checksumStart);
    wrongReads.append(reinterpret_cast<const char*>(buf), rp::encodeEnd(1, sum, buf));

    const std::pair<std::string, std::string> cases[] = {
        {write("empty.rpl", ""), "empty"},
        {write("text.rpl", "0 up z\n1 down\n"), "not a replay"},
        {write("cut.rpl", good.substr(0, good.size() - 7)), "truncated"},
        {write("version.rpl", otherVersion), "version 1"},
        {write("sum.rpl", badSum), "damaged"},
        {write("kind.rpl", badKind), "damaged"},
        {write("wrong.rpl", wrongReads), "does not match"},
    };
    for (const auto& [path, what] : cases) {
        const GameRun run = runWith({"--replay", path, "--trace", dir + "/trace.jsonl"});
        expectOneLineError(run, what);
        EXPECT_EQ(slurp(dir + "/trace.jsonl"), "") << what;  // no frame ran
    }
    std::filesystem::remove_all(dir);
}

namespace {

double rms(const std::vector<std::int16_t>& s) {
    double sum = 0;
    for (std::int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / s.size());
}

int peak(const std::vector<std::int16_t>& s) {
    int p = 0;
    for (std::int16_t v : s) p = std::max(p, std::abs(int(v)));
    return p;
}

}  // namespace

TEST(ReplayEndToEnd, ABossFightOnHardStaysBelowMinusOneDecibelWithoutAnOffset) {
    // Both bosses on hard, to the clear: volleys, rings, explosions and
    // shots over the boss music, the busiest sound of the game.
    const std::string dir = makeTempDir("bossmix");
    const GameRun run = runWith({"--autoplay", "--autoplay-difficulty", "hard", "--start-tick", "4490", "--frames",
                                 "3900", "--audio-out", dir + "/boss.wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_NE(run.err.find(": clear"), std::string::npos) << run.err;
    const auto mix = wavSamples(dir + "/boss.wav");
    ASSERT_GE(mix.size(), 2u * 3900 * 44100 / 60);
    double sum = 0;
    for (std::int16_t v : mix) sum += v;
    // Loud enough to hear (above -30 dBFS), yet so clear of full scale that
    // the output's limiter, which starts at -1 dBFS, is never needed.
    EXPECT_GT(20 * std::log10(rms(mix) / 32768), -30.0);
    EXPECT_LT(peak(mix), 29205) << "reaches -1 dBFS";
    EXPECT_LT(std::abs(sum / double(mix.size())), 0.002 * 32768) << "offset";
    std::filesystem::remove_all(dir);
}

TEST(ReplayEndToEnd, VolumesScaleTheirBusInTheMix) {
    // The title music, then a game with the fire held (shot sounds).
    const std::string dir = makeTempDir("volumes");
    const std::string script = "0 z\n60-199 z\n";
    auto mix = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {"--frames", "200", "--audio-out", dir + "/" + name};
        args.insert(args.end(), extra.begin(), extra.end());
        const GameRun run = runWith(args, script);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return wavSamples(dir + "/" + name);
    };
    const auto plain = mix("plain.wav", {});
    const auto full = mix("full.wav", {"--music-volume", "100", "--sound-volume", "100"});
    EXPECT_EQ(full, plain);  // 100 leaves the mix untouched, bit for bit
    const auto sounds = mix("sounds.wav", {"--music-volume", "0"});
    const auto halfSounds = mix("half.wav", {"--music-volume", "0", "--sound-volume", "50"});
    const auto music = mix("music.wav", {"--sound-volume", "0"});
    const auto silent = mix("silent.wav", {"--sound-volume", "0", "--music-volume", "0"});
    ASSERT_FALSE(plain.empty());
    ASSERT_GT(rms(sounds), 100.0);
    ASSERT_GT(rms(music), 100.0);
    EXPECT_NE(sounds, plain);
    EXPECT_NEAR(rms(halfSounds) / rms(sounds), 0.5, 0.01);
    // Sample for sample: half, wherever the full mix did not clip.
    ASSERT_EQ(halfSounds.size(), sounds.size());
    int worst = 0;
    for (std::size_t i = 0; i < sounds.size(); ++i)
        if (std::abs(int(sounds[i])) < 32767) worst = std::max(worst, std::abs(2 * halfSounds[i] - sounds[i]));
    EXPECT_LE(worst, 1);
    EXPECT_EQ(peak(silent), 0);

    for (std::vector<std::string> args : {std::vector<std::string>{"--music-volume", "101"},
                                          {"--sound-volume", "-1"}, {"--sound-volume", "half"},
                                          {"--music-volume", "50.5"}, {"--music-volume"}}) {
        const GameRun run = runWith(args);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_NE(run.err.find(args[0]), std::string::npos) << run.err;
    }
    std::filesystem::remove_all(dir);
}
