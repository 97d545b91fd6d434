// Joystick codes from the exact ends of the axes and from three buttons, and
// the set-up that scales the axes to -1000..1000.
#include <gtest/gtest.h>

#include "input/joystick.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

using namespace platform;

namespace {

InputState decode(int x, int y, std::initializer_list<int> buttons = {}) {
    DIJOYSTATE js{};
    js.lX = x;
    js.lY = y;
    for (int b : buttons) js.rgbButtons[b] = 0x80;
    return Joystick::decode(js);
}

HeadlessBackend* installScript(const std::string& text) {
    std::string error;
    auto script = InputScript::parse(text, error);
    EXPECT_TRUE(script) << error;
    auto owned = std::make_unique<HeadlessBackend>(*script, 0, 0);
    HeadlessBackend* raw = owned.get();
    installBackend(std::move(owned));
    return raw;
}

}  // namespace

TEST(Joystick, DirectionOnlyAtTheExactEndsOfTheAxes) {
    EXPECT_EQ(decode(0, 0).direction, 0);
    EXPECT_EQ(decode(0, -1000).direction, 1);
    EXPECT_EQ(decode(0, 1000).direction, 2);
    EXPECT_EQ(decode(1000, 0).direction, 3);
    EXPECT_EQ(decode(-1000, 0).direction, 4);
    EXPECT_EQ(decode(1000, -1000).direction, 6);
    EXPECT_EQ(decode(-1000, -1000).direction, 7);
    EXPECT_EQ(decode(1000, 1000).direction, 8);
    EXPECT_EQ(decode(-1000, 1000).direction, 9);
    // 90 % of the travel is no direction at all: no threshold, no dead zone.
    EXPECT_EQ(decode(900, 0).direction, 0);
    EXPECT_EQ(decode(-999, -999).direction, 0);
    // One axis at its end, the other short of it: the full one counts.
    EXPECT_EQ(decode(1000, -900).direction, 3);
    EXPECT_EQ(decode(500, 1000).direction, 2);
}

TEST(Joystick, ButtonOneBeatsTwoBeatsThree) {
    EXPECT_EQ(decode(0, 0, {3}).action, 5);
    EXPECT_EQ(decode(0, 0, {2}).action, 10);
    EXPECT_EQ(decode(0, 0, {1}).action, 11);
    EXPECT_EQ(decode(0, 0, {1, 3}).action, 11);
    EXPECT_EQ(decode(0, 0, {2, 3}).action, 10);
    EXPECT_EQ(decode(0, 0, {1, 2, 3}).action, 11);
    EXPECT_EQ(decode(0, 0, {0}).action, 0);  // button 0 is not read
    EXPECT_EQ(decode(0, 0, {4, 5}).action, 0);
}

TEST(Joystick, NoControllerMeansKeyboardControl) {
    installScript("0 up\n");
    Joystick joystick;
    EXPECT_EQ(joystick.init(nullptr, nullptr), 0);
    joystick.poll(1);
    EXPECT_EQ(joystick.direction(), 0);
}

TEST(Joystick, FullDeflectionScalesToExactlyTheRangeEnds) {
    HeadlessBackend* headless = installScript("0 joy:-1000,1000,b3\n1 joy:900,-1000,b2\n");
    Joystick joystick;
    ASSERT_EQ(joystick.init(nullptr, nullptr), 1);
    headless->setNextFrame(0);
    joystick.poll(1);
    EXPECT_EQ(joystick.direction(), 9);
    EXPECT_EQ(joystick.action(), 5);
    headless->setNextFrame(1);
    joystick.poll(1);
    EXPECT_EQ(joystick.direction(), 1);
    EXPECT_EQ(joystick.action(), 10);
}

TEST(Joystick, LostInputGivesZerosAndIsReacquired) {
    HeadlessBackend* headless = installScript("0-9 joy:1000,0,b1\n2 focus-lost\n3 focus-gained\n");
    Joystick joystick;
    ASSERT_EQ(joystick.init(nullptr, nullptr), 1);
    auto frame = [&](std::uint64_t n, std::uint8_t focus) {
        headless->setNextFrame(n);
        MSG m;
        while (PeekMessage(&m)) {}
        joystick.poll(focus);
    };
    frame(0, 1);
    EXPECT_EQ(joystick.direction(), 3);
    frame(2, 0);  // without the focus nothing can be acquired
    EXPECT_EQ(joystick.direction(), 0);
    EXPECT_EQ(joystick.action(), 0);
    frame(3, 1);  // focus back: the poll re-acquires and reads at once
    EXPECT_EQ(joystick.direction(), 3);
    EXPECT_EQ(joystick.action(), 11);
}
