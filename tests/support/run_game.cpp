#include "support/run_game.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

std::string makeTempDir(const std::string& tag) {
    std::string tmpl = (fs::temp_directory_path() / ("tervo-" + tag + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

namespace {

// Starts the binary with the request's arguments in `dir`'s files.
int spawn(const GameRunRequest& request, const std::string& dir) {
    std::vector<std::string> args = {TERVO_BINARY};
    if (request.headless) args.push_back("--headless");
    if (!request.script.empty()) {
        std::ofstream(dir + "/input.txt") << request.script;
        args.push_back("--input");
        args.push_back(dir + "/input.txt");
    }
    if (request.trace) {
        args.push_back("--trace");
        args.push_back(dir + "/trace.jsonl");
    }
    args.insert(args.end(), request.args.begin(), request.args.end());
    const std::string outPath = dir + "/out.txt", errPath = dir + "/err.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        // The game reads the user's settings in a window run: a test's run
        // gets a settings folder of its own (a test may name another).
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        for (const auto& e : request.env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

GameRun collect(const GameRunRequest& request, const std::string& dir, int status, bool timedOut) {
    GameRun run;
    run.timedOut = timedOut;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = slurp(dir + "/out.txt");
    run.err = slurp(dir + "/err.txt");
    if (request.trace) {
        std::ifstream in(dir + "/trace.jsonl");
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) run.trace.push_back(testing_json::parse(line));
    }
    return run;
}

// Waits up to the time-out; kills the process after it. Returns the status.
int waitFor(int pid, int timeoutSeconds, bool& timedOut) {
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            timedOut = true;
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

GameRun runWithOptions(std::vector<std::string> args) {
    GameRunRequest r;
    r.headless = false;
    r.trace = false;
    r.args = std::move(args);
    return runGame(r);
}

GameRun runGame(const GameRunRequest& request) {
    const std::string dir = makeTempDir("run");
    const int pid = spawn(request, dir);
    bool timedOut = false;
    const int status = waitFor(pid, request.timeoutSeconds, timedOut);
    GameRun run = collect(request, dir, status, timedOut);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return run;
}

GameProcess::GameProcess(const GameRunRequest& request)
    : request_(request), dir_(makeTempDir("proc")), pid_(spawn(request, dir_)) {}

GameProcess::~GameProcess() {
    if (!reaped_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

bool GameProcess::running() {
    if (reaped_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
    return !reaped_;
}

void GameProcess::signal(int sig) {
    if (running()) kill(pid_, sig);
}

GameRun GameProcess::finish(int timeoutSeconds) {
    bool timedOut = false;
    if (!reaped_) status_ = waitFor(pid_, timeoutSeconds, timedOut);
    reaped_ = true;
    return collect(request_, dir_, status_, timedOut);
}

std::size_t GameProcess::traceLines() const {
    std::ifstream in(dir_ + "/trace.jsonl");
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) n += !line.empty();
    return n;
}

std::vector<std::int16_t> wavSamples(const std::string& path) {
    const std::string bytes = slurp(path);
    std::vector<std::int16_t> out;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        std::uint32_t size;
        std::memcpy(&size, bytes.data() + pos + 4, 4);
        if (bytes.compare(pos, 4, "data") == 0) {
            out.resize(std::min<std::size_t>(size, bytes.size() - pos - 8) / 2);
            std::memcpy(out.data(), bytes.data() + pos + 8, out.size() * 2);
            break;
        }
        pos += 8 + size;
    }
    return out;
}
