// Helpers for end-to-end tests: run the game binary with arguments, capture
// its output and exit code, and read its trace.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/json.h"

struct GameRun {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
    std::vector<testing_json::Value> trace;  // one object per frame
};

struct GameRunRequest {
    std::vector<std::string> args;
    std::string script;              // written to a file and passed as --input (headless)
    bool headless = true;
    bool trace = true;
    std::vector<std::string> env;    // extra NAME=VALUE entries
    int timeoutSeconds = 60;
};

GameRun runGame(const GameRunRequest& request);

// The binary with exactly these options: no --headless, no trace.
GameRun runWithOptions(std::vector<std::string> args);

// A run in the background, for tests that need two processes at once.
class GameProcess {
public:
    explicit GameProcess(const GameRunRequest& request);
    ~GameProcess();  // kills the process if it still runs
    bool running();
    void signal(int sig);
    // Waits for the end (or kills it after the time-out) and collects the run.
    GameRun finish(int timeoutSeconds = 30);
    // The trace lines written so far.
    std::size_t traceLines() const;
    int pid() const { return pid_; }

private:
    GameRunRequest request_;
    std::string dir_;
    int pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

// The 16-bit samples of a WAV file's data chunk (what --audio-out writes).
std::vector<std::int16_t> wavSamples(const std::string& path);

// A fresh temporary folder for one test (removed at process exit is not
// promised; names are unique).
std::string makeTempDir(const std::string& tag);
