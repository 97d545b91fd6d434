// Helpers for end-to-end tests: run the game binary with arguments, capture
// its output and exit code, and read its trace.
#pragma once

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

// A fresh temporary folder for one test (removed at process exit is not
// promised; names are unique).
std::string makeTempDir(const std::string& tag);
