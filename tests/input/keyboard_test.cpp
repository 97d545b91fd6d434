// Keyboard codes: every combination of the arrows and of Z, X, C, and the
// re-acquisition after the window loses the focus.
#include <gtest/gtest.h>

#include "input/keyboard.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

using namespace platform;

namespace {

enum : unsigned { U = 1, D = 2, L = 4, R = 8, Z = 16, X = 32, C = 64 };

InputState decode(unsigned held) {
    std::uint8_t keys[256] = {};
    if (held & U) keys[DIK_UP] = 0x80;
    if (held & D) keys[DIK_DOWN] = 0x80;
    if (held & L) keys[DIK_LEFT] = 0x80;
    if (held & R) keys[DIK_RIGHT] = 0x80;
    if (held & Z) keys[DIK_Z] = 0x80;
    if (held & X) keys[DIK_X] = 0x80;
    if (held & C) keys[DIK_C] = 0x80;
    return Keyboard::decode(keys);
}

}  // namespace

TEST(Keyboard, DirectionForEveryCombinationOfArrows) {
    // held arrows -> direction, worked out from the priority rules: down
    // beats up, left beats right, and a diagonal needs exactly one vertical.
    const struct {
        unsigned held;
        int direction;
    } table[] = {
        {0, 0},         {U, 1},         {D, 2},         {U | D, 2},
        {R, 3},         {U | R, 6},     {D | R, 8},     {U | D | R, 8},
        {L, 4},         {U | L, 7},     {D | L, 9},     {U | D | L, 9},
        {L | R, 4},     {U | L | R, 4}, {D | L | R, 4}, {U | D | L | R, 4},
    };
    for (const auto& row : table) {
        EXPECT_EQ(decode(row.held).direction, row.direction) << "held " << row.held;
        EXPECT_EQ(decode(row.held).action, 0);
    }
}

TEST(Keyboard, HigherActionCodeWins) {
    EXPECT_EQ(decode(Z).action, 5);
    EXPECT_EQ(decode(X).action, 10);
    EXPECT_EQ(decode(C).action, 11);
    EXPECT_EQ(decode(Z | X).action, 10);
    EXPECT_EQ(decode(Z | C).action, 11);
    EXPECT_EQ(decode(X | C).action, 11);
    EXPECT_EQ(decode(Z | X | C).action, 11);
    EXPECT_EQ(decode(U | R | Z).direction, 6);  // actions don't disturb directions
}

TEST(Keyboard, OnlyBitSevenMeansDown) {
    std::uint8_t keys[256] = {};
    keys[DIK_UP] = 0x7F;
    keys[DIK_Z] = 0x01;
    EXPECT_EQ(Keyboard::decode(keys).direction, 0);
    EXPECT_EQ(Keyboard::decode(keys).action, 0);
}

TEST(Keyboard, ReadsZerosWhileTheFocusIsAwayAndRecoversAfterReacquiring) {
    std::string error;
    auto script = InputScript::parse("0-9 up z\n2 focus-lost\n3 focus-gained\n", error);
    ASSERT_TRUE(script) << error;
    auto owned = std::make_unique<HeadlessBackend>(*script, 0, 0);
    HeadlessBackend* headless = owned.get();
    installBackend(std::move(owned));

    Keyboard keyboard;
    keyboard.init(nullptr, nullptr);
    auto frame = [&](std::uint64_t n) {
        headless->setNextFrame(n);
        MSG m;
        while (PeekMessage(&m)) {}
        keyboard.read();
    };
    frame(0);
    EXPECT_EQ(keyboard.direction(), 1);
    EXPECT_EQ(keyboard.action(), 5);
    frame(2);  // focus lost: the device is unacquired
    EXPECT_EQ(keyboard.direction(), 0);
    EXPECT_EQ(keyboard.action(), 0);
    frame(3);  // focus back: this read re-acquires and still reads nothing
    EXPECT_EQ(keyboard.direction(), 0);
    frame(4);
    EXPECT_EQ(keyboard.direction(), 1);
    EXPECT_EQ(keyboard.action(), 5);
    frame(10);  // keys released
    EXPECT_EQ(keyboard.direction(), 0);
}
