#include "support/lockstep_game.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run_game.h"

LockstepGame::LockstepGame(const std::vector<std::string>& args, int timeoutSeconds)
    : dir_(makeTempDir("lockstep")), timeoutSeconds_(timeoutSeconds) {
    // A game that has stopped reading must fail a write, not end the test.
    signal(SIGPIPE, SIG_IGN);
    int toGame[2], fromGame[2];
    if (pipe2(toGame, O_CLOEXEC) != 0 || pipe2(fromGame, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> argv = {TERVO_BINARY, "--headless", "--lockstep"};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::string errPath = dir_ + "/err.txt";
    pid_ = fork();
    if (pid_ == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(toGame[0], 0);
        dup2(fromGame[1], 1);
        dup2(err, 2);
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        execv(raw[0], raw.data());
        _exit(127);
    }
    close(toGame[0]);
    close(fromGame[1]);
    in_ = toGame[1];
    out_ = fromGame[0];
}

LockstepGame::~LockstepGame() {
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

bool LockstepGame::send(const std::string& line) {
    if (in_ < 0) return false;
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(in_, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> LockstepGame::readLine() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds_);
    for (;;) {
        if (const auto nl = pending_.find('\n'); nl != std::string::npos) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return line;
        }
        if (eof_ || timedOut_) return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{out_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0) {
            timedOut_ = true;
            return std::nullopt;
        }
        char buf[65536];
        const ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0) {
            eof_ = true;
            if (!pending_.empty()) {  // a last line without its newline
                std::string line;
                line.swap(pending_);
                return line;
            }
            return std::nullopt;
        }
        pending_.append(buf, static_cast<std::size_t>(n));
    }
}

std::optional<std::string> LockstepGame::step(const std::string& line) {
    if (!send(line)) return std::nullopt;
    return readLine();
}

LockstepGame::End LockstepGame::finish() {
    End end;
    if (in_ >= 0) close(in_);
    in_ = -1;
    while (auto line = readLine()) end.lines.push_back(*line);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds_);
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
        if (timedOut_ || std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            timedOut_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    end.timedOut = timedOut_;
    end.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::ifstream in(dir_ + "/err.txt");
    std::stringstream s;
    s << in.rdbuf();
    end.err = s.str();
    return end;
}
