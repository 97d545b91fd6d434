#include "support/run_game.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
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

GameRun runGame(const GameRunRequest& request) {
    const std::string dir = makeTempDir("run");
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
        for (const auto& e : request.env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    GameRun run;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(request.timeoutSeconds);
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    if (request.trace) {
        std::ifstream in(dir + "/trace.jsonl");
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) run.trace.push_back(testing_json::parse(line));
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return run;
}
