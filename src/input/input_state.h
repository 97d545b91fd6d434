// InputState: the two codes an input device holds after its last read.
#pragma once

#include <cstdint>

// Direction codes.
constexpr std::int32_t DirNone = 0;
constexpr std::int32_t DirUp = 1;
constexpr std::int32_t DirDown = 2;
constexpr std::int32_t DirRight = 3;
constexpr std::int32_t DirLeft = 4;
constexpr std::int32_t DirUpRight = 6;
constexpr std::int32_t DirUpLeft = 7;
constexpr std::int32_t DirDownRight = 8;
constexpr std::int32_t DirDownLeft = 9;

// Action codes; when several are held the higher one wins.
constexpr std::int32_t ActNone = 0;
constexpr std::int32_t ActShot = 5;
constexpr std::int32_t ActMissile = 10;
constexpr std::int32_t ActC = 11;  // passed on, acted on by nothing

struct InputState {
    std::int32_t direction = DirNone;
    std::int32_t action = ActNone;
};
