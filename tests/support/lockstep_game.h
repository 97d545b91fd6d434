// LockstepGame: the game binary run with --headless --lockstep and driven
// through pipes, as a program playing it would: a line of held tokens to its
// standard input, that frame's answer read back from its standard output.
#pragma once

#include <optional>
#include <string>
#include <vector>

class LockstepGame {
public:
    // Starts `tervo --headless --lockstep ARGS...`; no call waits longer than
    // `timeoutSeconds` for the game.
    explicit LockstepGame(const std::vector<std::string>& args, int timeoutSeconds = 60);
    ~LockstepGame();  // kills the process if it still runs
    LockstepGame(const LockstepGame&) = delete;
    LockstepGame& operator=(const LockstepGame&) = delete;

    // Writes one line (the newline is added); false once the game stopped reading.
    bool send(const std::string& line);
    // The next line of output; nothing at its end or after the time-out.
    std::optional<std::string> readLine();
    // send, then readLine.
    std::optional<std::string> step(const std::string& line);

    struct End {
        int exitCode = -1;
        bool timedOut = false;
        std::vector<std::string> lines;  // the output not read before
        std::string err;
    };
    // Closes the game's input, reads the rest of its output and waits for it.
    End finish();

private:
    std::string dir_;
    int pid_ = -1;
    int in_ = -1;   // the game's standard input
    int out_ = -1;  // its standard output
    std::string pending_;
    bool eof_ = false;
    bool timedOut_ = false;
    int timeoutSeconds_;
};
