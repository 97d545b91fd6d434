// The real window path under a virtual X server (Xvfb): the game opens its
// window, runs frames and quits; a second instance is refused.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run_game.h"

namespace fs = std::filesystem;

namespace {

// One Xvfb server for the tests of this file.
class XServer {
public:
    // Xvfb picks a free display number itself and writes it to a pipe, so
    // test processes running side by side never share a server.
    XServer() {
        if (system("command -v Xvfb >/dev/null 2>&1") != 0) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            freopen("/dev/null", "w", stderr);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

XServer& xserver() {
    static XServer server;
    return server;
}

GameRunRequest windowed(const std::string& runtimeDir, std::vector<std::string> args) {
    GameRunRequest r;
    r.headless = false;
    r.args = {"--window", "--no-dialogs"};
    r.args.insert(r.args.end(), args.begin(), args.end());
    r.env = {"DISPLAY=" + xserver().display(), "XDG_RUNTIME_DIR=" + runtimeDir, "SDL_AUDIODRIVER=dummy"};
    return r;
}

}  // namespace

TEST(Window, OpensRunsFramesAndEndsCleanly) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    const std::string times = runtime + "/times.txt";
    auto run = runGame(windowed(runtime, {"--frames", "30", "--frame-times", times}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.trace.size(), 30u);
    // The window is painted black as soon as it is shown, before the pack
    // is loaded and the first frame drawn.
    std::ifstream in(times);
    std::string line;
    double shown = -1, firstPresent = -1;
    while (std::getline(in, line)) {
        std::sscanf(line.c_str(), "# window shown at %lf", &shown);
        std::sscanf(line.c_str(), "# first present at %lf", &firstPresent);
    }
    EXPECT_GT(shown, 0) << "no window shown line";
    EXPECT_LT(shown, firstPresent);
    fs::remove_all(runtime);
}

TEST(Window, TheFirstFrameShowsWhatTheMultisampledOnesShow) {
    // The first frame is composed single-sampled, the next ones with 4x
    // multisampling; the title is flat pictures, the same either way.
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    const std::string first = runtime + "/frame0.png", second = runtime + "/frame1.png";
    auto run = runGame(windowed(runtime, {"--quality", "high", "--frames", "3", "--screenshot", "0:" + first,
                                          "--screenshot", "1:" + second}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::ifstream a(first, std::ios::binary), b(second, std::ios::binary);
    const std::string pa((std::istreambuf_iterator<char>(a)), {}), pb((std::istreambuf_iterator<char>(b)), {});
    EXPECT_GT(pa.size(), 10000u);  // a whole picture, not a blank one
    EXPECT_TRUE(pa == pb) << "frames 0 and 1 differ";
    fs::remove_all(runtime);
}

TEST(Window, ASecondInstanceIsRefusedAndTheFirstKeepsRunning) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    GameProcess first(windowed(runtime, {}));
    for (int i = 0; i < 400 && first.traceLines() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ASSERT_GT(first.traceLines(), 0u) << "the first instance did not start";

    auto second = runGame(windowed(runtime, {"--frames", "30"}));
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.trace.empty());
    EXPECT_NE(second.err.find("error: プログラムを２重起動しないでください。"), std::string::npos) << second.err;
    EXPECT_NE(second.err.find("tervo: the game is already running (it holds " + runtime + "/tervo.test.lock)"),
              std::string::npos)
        << second.err;

    // The refused window took the focus for a moment (there is no window
    // manager to hand it back), so the first instance now waits for
    // messages without running frames, but it is alive and still answers.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(first.running());
    first.signal(SIGTERM);  // arrives as a close request
    auto end = first.finish();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    fs::remove_all(runtime);
}

TEST(Window, ARecordedWindowRunReplaysHeadlessAndInAWindow) {
    // The window's own clock, pumps and keyboard are what gets recorded.
    // Its drawing is made slow (40 ms a frame), so that it runs behind and
    // skips drawing frames: the game's course must not notice.
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg"), dir = makeTempDir("window-replay");
    const std::string groups = "input,controlMode,rate,drawnRate,boxes,display,audio,world,player";
    auto traced = [&](GameRunRequest r, const std::string& name) {
        r.trace = false;
        r.timeoutSeconds = 120;
        r.args.insert(r.args.end(), {"--trace", dir + "/" + name, "--trace-groups", groups});
        return runGame(r);
    };
    auto read = [&](const std::string& name) {
        std::ifstream in(dir + "/" + name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    GameRunRequest slow = windowed(runtime, {"--autoplay", "--frames", "120", "--record", dir + "/run.rpl"});
    slow.env.push_back("TERVO_TEST_DRAW_MS=40");
    const GameRun recorded = traced(slow, "window.jsonl");
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
    GameRunRequest headless;
    headless.args = {"--replay", dir + "/run.rpl"};
    const GameRun replayed = traced(headless, "headless.jsonl");
    EXPECT_EQ(replayed.exitCode, 0) << replayed.err;
    const GameRun inWindow = traced(windowed(runtime, {"--replay", dir + "/run.rpl"}), "again.jsonl");
    EXPECT_EQ(inWindow.exitCode, 0) << inWindow.err;
    const std::string original = read("window.jsonl");
    EXPECT_EQ(std::count(original.begin(), original.end(), '\n'), 120);
    // The last frame's second: fewer frames drawn than run, but some.
    const std::string last = original.substr(original.rfind('\n', original.size() - 2) + 1);
    const auto number = [&](const std::string& key) {
        const auto at = last.find("\"" + key + "\":");
        return at == std::string::npos ? -1 : std::atoi(last.c_str() + at + key.size() + 3);
    };
    EXPECT_GT(number("drawnRate"), 0) << last.substr(0, 120);
    EXPECT_LT(number("drawnRate"), number("rate")) << last.substr(0, 120);
    EXPECT_TRUE(read("headless.jsonl") == original);
    EXPECT_TRUE(read("again.jsonl") == original);
    fs::remove_all(runtime);
    fs::remove_all(dir);
}

namespace {

// Runs one of tests/e2e/tools' X tools on the test's display; its lines.
std::vector<std::string> xTool(const std::string& toolAndArgs) {
    const std::string command =
        "DISPLAY=" + xserver().display() + " " + TERVO_SOURCE_DIR + "/tests/e2e/tools/" + toolAndArgs;
    std::vector<std::string> lines;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char line[128];
        while (std::fgets(line, sizeof line, p)) lines.emplace_back(line, std::strcspn(line, "\n"));
        pclose(p);
    }
    return lines;
}

// "W H X Y PW PH": the 800 x 600 picture scaled to fit a W x H window and
// centred, black bars around it.
std::string letterboxed(int w, int h) {
    const double scale = std::min(w / 800.0, h / 600.0);
    const int pw = int(std::lround(800 * scale)), ph = int(std::lround(600 * scale));
    std::ostringstream s;
    s << w << " " << h << " " << (w - pw) / 2 << " " << (h - ph) / 2 << " " << pw << " " << ph;
    return s.str();
}

}  // namespace

TEST(Window, ABrokenPackShowsItsBoxesOneAfterAnotherAndTheRunFails) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg"), empty = makeTempDir("nopack");
    GameRunRequest r = windowed(runtime, {"--assets", empty});
    r.args.erase(std::find(r.args.begin(), r.args.end(), "--no-dialogs"));
    r.trace = false;
    GameProcess game(r);
    // Answered as a player would: each box gets the focus and Return.
    const std::vector<std::string> count = xTool("answer_boxes " + std::to_string(game.pid()) + " メッセージ 90");
    auto run = game.finish();
    ASSERT_EQ(count.size(), 1u);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const auto shown = [&](const std::string& line) {
        std::size_t n = 0;
        for (std::size_t at = run.err.find(line); at != std::string::npos; at = run.err.find(line, at + 1)) ++n;
        return n;
    };
    EXPECT_GT(shown("メッセージ: "), 20u) << run.err;
    EXPECT_EQ(std::stoul(count[0]), shown("メッセージ: ")) << "every box was on screen";
    EXPECT_EQ(shown("tervo: cannot load "), shown("メッセージ: "));
    EXPECT_EQ(shown("cannot show a message box"), 0u) << run.err;
    fs::remove_all(runtime);
    fs::remove_all(empty);
}

TEST(Window, WithoutASoundCardTheGameSaysSoOnceAndTheLibrariesKeepQuiet) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    GameRunRequest r = windowed(runtime, {"--frames", "10"});
    r.env = {"DISPLAY=" + xserver().display(), "XDG_RUNTIME_DIR=" + runtime, "SDL_AUDIODRIVER=alsa",
             "AUDIODEV=tervo_no_such_device"};
    auto run = runGame(r);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "tervo: no audio device; playing without sound\n");
    fs::remove_all(runtime);
}

TEST(Window, EverySwitchOfFullScreenLeavesThePictureLetterboxedInTheWindow) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    GameProcess game(windowed(runtime, {}));
    for (int i = 0; i < 400 && game.traceLines() < 10; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ASSERT_GE(game.traceLines(), 10u) << "the game did not start";
    // Resized from outside, as a window manager would; there is none to
    // carry out a switch to full screen, so the window keeps its size.
    const std::vector<std::string> seen = xTool(
        "window_picture TERVO resize=640x600 wait=0.7 measure key=alt+Return wait=0.7 measure key=alt+Return wait=0.7 measure "
        "resize=1000x300 wait=0.7 measure key=alt+Return wait=0.7 measure");
    const std::vector<std::string> expected = {letterboxed(640, 600), letterboxed(640, 600), letterboxed(1024, 768),
                                               letterboxed(1000, 300), letterboxed(1000, 300)};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(game.running());
    game.signal(SIGTERM);
    EXPECT_EQ(game.finish().exitCode, 0);
    fs::remove_all(runtime);
}

TEST(Window, TheSettingsGiveTheWindowAndWhatChangedWhilePlayingIsSaved) {
    if (xserver().display().empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    const std::string runtime = makeTempDir("xdg");
    const std::string config = runtime + "/tervo.conf";
    auto slurp = [&] {
        std::ifstream in(config, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    // Plays with the settings through the window tool's steps, then ends
    // with a close request (a clean exit); the tool's lines and the stderr.
    auto play = [&](const std::string& text, const std::string& steps, std::vector<std::string>& seen) {
        std::ofstream(config) << text;
        GameRunRequest r = windowed(runtime, {"--config", config});
        r.args.erase(r.args.begin());  // no --window: the file says
        GameProcess game(r);
        for (int i = 0; i < 400 && game.traceLines() < 10; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        EXPECT_GE(game.traceLines(), 10u) << "the game did not start";
        seen = xTool("window_picture TERVO " + steps);
        game.signal(SIGTERM);
        GameRun end = game.finish();
        EXPECT_EQ(end.exitCode, 0) << end.err;
        return end.err;
    };

    std::vector<std::string> seen;
    const std::string text = "# mine\nfullscreen = no\nwindow_size = 800x600\n\n[keys]\nfire = Space\n";
    std::string err = play(text, "measure resize=700x500 wait=0.7 measure", seen);
    EXPECT_EQ(seen, (std::vector<std::string>{letterboxed(800, 600), letterboxed(700, 500)}));
    EXPECT_EQ(slurp(), "# mine\nfullscreen = no\nwindow_size = 700x500\n\n[keys]\nfire = Space\n") << err;

    // Alt+Enter and a volume key: full screen and the volume are saved, and
    // the window keeps the size it had.
    err = play("fullscreen = no\nwindow_size = 800x600\n", "key=alt+Return wait=0.7 key=F5 wait=0.3 key=F5 wait=0.3", seen);
    EXPECT_EQ(slurp(), "fullscreen = yes\nwindow_size = 800x600\nmusic_volume = 80\n") << err;

    // A file with a fault is reported and left as it is.
    const std::string faulty = "fullscreen = no\nwindow_size = 800x600\nvolume = 5\n";
    err = play(faulty, "resize=700x500 wait=0.7", seen);
    EXPECT_NE(err.find(config + ":3: unknown setting 'volume'"), std::string::npos) << err;
    EXPECT_NE(err.find("is not saved"), std::string::npos) << err;
    EXPECT_EQ(slurp(), faulty);
    fs::remove_all(runtime);
}
