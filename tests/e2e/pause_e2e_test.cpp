// The pause end to end (the script's `pause` token is the P key): no frame
// runs while paused, the frames after it are those of a run without it, the
// sound holds and goes on where it stopped, the focus coming back does not
// end it, and the frame timer does not make up for the time it lasted.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/lockstep_game.h"
#include "support/run_game.h"

namespace {

using testing_json::Value;

// A game started on frame 0 (play from frame 50), steering up and firing.
const std::string kPlay = "0-399 z up\n";

struct RawRun {
    GameRun run;
    std::vector<std::string> trace;  // the lines as written
    std::vector<std::int16_t> audio;  // the WAV's interleaved samples
};

RawRun runRaw(const std::string& script, int frames) {
    const std::string dir = makeTempDir("pause");
    GameRunRequest r;
    r.script = script;
    r.trace = false;
    r.args = {"--frames", std::to_string(frames), "--trace", dir + "/trace.jsonl", "--audio-out", dir + "/mix.wav"};
    RawRun out;
    out.run = runGame(r);
    std::ifstream trace(dir + "/trace.jsonl");
    for (std::string line; std::getline(trace, line);) out.trace.push_back(line);
    std::ifstream wav(dir + "/mix.wav", std::ios::binary);
    std::stringstream bytes;
    bytes << wav.rdbuf();
    const std::string b = bytes.str();
    for (std::size_t i = 12; i + 8 <= b.size();) {  // RIFF chunks after the header
        std::uint32_t n;
        std::memcpy(&n, &b[i + 4], 4);
        if (b.compare(i, 4, "data") == 0) {
            out.audio.resize(std::min<std::size_t>(n, b.size() - i - 8) / 2);
            std::memcpy(out.audio.data(), &b[i + 8], out.audio.size() * 2);
            break;
        }
        i += 8 + n + (n & 1);
    }
    std::filesystem::remove_all(dir);
    return out;
}

// A trace line without the clock's readings: the millisecond clock, the
// passes, the passes-per-second readout and the story's copy of the clock.
std::string withoutClock(const std::string& line) {
    static const std::regex clock(R"re("(ms|pass|rate|drawnRate|storyNow)":-?[0-9]+)re");
    return std::regex_replace(line, clock, "\"$1\":_");
}

long long member(const std::string& line, const std::string& name) {
    const auto at = line.find("\"" + name + "\":");
    return at == std::string::npos ? -1 : std::stoll(line.substr(at + name.size() + 3));
}

// `count` lines of `token` on consecutive frames from `first`: while paused
// each line's events arrive after 100 ms, so they set the pause's length.
std::string spacers(int first, int count, const std::string& token = "lbutton") {
    std::string s;
    for (int i = 0; i < count; ++i) s += std::to_string(first + i) + " " + token + "\n";
    return s;
}

}  // namespace

TEST(PauseEndToEnd, FramesAroundAPauseAreThoseOfARunWithoutItAndTheSoundHolds) {
    const RawRun plain = runRaw(kPlay, 300);
    // P before frame 160, again 300 ms later (two spacer lines in between);
    // the ship fires on frames 150 and 170.
    const RawRun paused = runRaw(kPlay + "160 pause\n" + spacers(161, 2) + "163 pause\n", 300);
    ASSERT_EQ(plain.run.exitCode, 0) << plain.run.err;
    ASSERT_EQ(paused.run.exitCode, 0) << paused.run.err;
    ASSERT_EQ(plain.trace.size(), 300u);
    ASSERT_EQ(paused.trace.size(), 300u);
    for (std::size_t f = 0; f < 300; ++f)
        ASSERT_EQ(withoutClock(paused.trace[f]), withoutClock(plain.trace[f])) << "frame " << f;
    // No frame ran during those 300 ms.
    EXPECT_EQ(member(paused.trace[160], "ms") - member(paused.trace[159], "ms"),
              member(plain.trace[160], "ms") - member(plain.trace[159], "ms") + 300);

    // The mix: silence while paused, then the sound goes on where it stopped.
    const auto& a = plain.audio;
    const auto& b = paused.audio;
    ASSERT_GT(b.size(), a.size());
    std::size_t stop = 0;
    while (stop < a.size() && a[stop] == b[stop]) ++stop;
    std::size_t resume = stop;
    while (resume < b.size() && b[resume] == 0) ++resume;
    const double heldMs = (resume - stop) / 2 / 44.1;
    EXPECT_GE(heldMs, 300.0);
    EXPECT_LT(heldMs, 320.0);  // plus the passes' short sleeps around it
    EXPECT_GT(stop / 2 / 44.1, 159 * 1000 / 60.0) << "the sound stopped before the pause";
    // The next 100 ms are the ones that would have come (later, the game's
    // own sound calls fall a few milliseconds differently against the mix).
    const std::size_t next = 2 * 4410;
    ASSERT_LT(resume + next, b.size());
    EXPECT_TRUE(std::equal(b.begin() + resume, b.begin() + resume + next, a.begin() + stop))
        << "the sound did not go on where it stopped";
}

TEST(PauseEndToEnd, FocusLostAndRegainedWhilePausedStaysPaused) {
    // If the focus coming back ended the pause, frame 150 would run 200 ms
    // after 149, and the second P (line 154) would pause again for good:
    // the script would then run out before frame 300.
    const RawRun run = runRaw(kPlay + "150 pause\n151 focus-lost\n152 focus-gained\n" + spacers(153, 1) + "154 pause\n", 300);
    ASSERT_EQ(run.run.exitCode, 0) << run.run.err;
    ASSERT_EQ(run.trace.size(), 300u) << run.run.err;
    EXPECT_GE(member(run.trace[150], "ms") - member(run.trace[149], "ms"), 400);
}

TEST(PauseEndToEnd, AfterALongPauseTheFrameTimerDoesNotMakeUpForIt) {
    // A pause of 1.5 s before frame 150.
    GameRunRequest r;
    r.args = {"--frames", "300", "--trace-groups", "rate"};
    r.script = kPlay;
    const GameRun plain = runGame(r);
    r.script = kPlay + "150 pause\n" + spacers(151, 14) + "165 pause\n";
    const GameRun paused = runGame(r);
    ASSERT_EQ(plain.trace.size(), 300u) << plain.err;
    ASSERT_EQ(paused.trace.size(), 300u) << paused.err;
    auto ms = [](const GameRun& run, int f) { return run.trace[f]["ms"].integer(); };
    auto rate = [](const GameRun& run, int f) { return run.trace[f]["rate"].integer(); };
    EXPECT_GE(ms(paused, 150) - ms(paused, 149), 1500);
    // The next 120 frames take their two seconds, as without the pause.
    EXPECT_EQ(ms(paused, 270) - ms(paused, 150), ms(plain, 270) - ms(plain, 150));
    EXPECT_EQ(ms(plain, 270) - ms(plain, 150), 2000);
    // The second that held the pause is handed over with its few passes and
    // counting starts again: the seconds after it count as before.
    EXPECT_LT(rate(paused, 150), 40);
    EXPECT_EQ(rate(paused, 299), rate(plain, 299));
    EXPECT_GE(rate(plain, 299), 59);
}

TEST(PauseEndToEnd, LockstepAnswersWaitingWhilePaused) {
    LockstepGame game({"--trace-groups", ""});
    auto frameOf = [](const std::optional<std::string>& line) { return line ? member(*line, "frame") : -2; };
    EXPECT_EQ(frameOf(game.step("")), 0);
    for (const char* line : {"pause", "", "focus-lost", "focus-gained"}) {
        const auto answer = game.step(line);
        ASSERT_TRUE(answer) << line;
        EXPECT_NE(answer->find(R"("waiting":"paused")"), std::string::npos) << line << ": " << *answer;
    }
    EXPECT_EQ(frameOf(game.step("pause")), 1);
    EXPECT_EQ(game.finish().exitCode, 0);
}
