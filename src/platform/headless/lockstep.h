// LockstepInput: the input of a lockstep run. Each frame's held tokens come
// as one line of a stream (standard input), read just before the frame runs,
// so another program can play the game frame by frame.
#pragma once

#include <cstdio>
#include <string>

#include "platform/headless/script.h"

namespace platform {

class LockstepInput {
public:
    enum class Read { Line, End, Bad };

    explicit LockstepInput(std::FILE* in);
    ~LockstepInput();
    LockstepInput(const LockstepInput&) = delete;
    LockstepInput& operator=(const LockstepInput&) = delete;

    // Reads and parses the next line into line(). A bad line leaves error()
    // naming it and its number. Reuses its buffers: no allocation per line
    // once they have grown to the longest line.
    Read next();

    // The last line read (its keys and joystick are what the frame holds).
    const ScriptLine& line() const { return line_; }
    int linesRead() const { return number_; }
    const std::string& error() const { return error_; }
    // Whether a joystick is attached: only a joy: token on the first line
    // attaches one (it then replaces the keyboard for the whole run).
    bool joystick() const { return joystick_; }

private:
    std::FILE* in_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    ScriptLine line_;
    std::string why_;
    std::string error_;
    int number_ = 0;
    bool joystick_ = false;
};

}  // namespace platform
