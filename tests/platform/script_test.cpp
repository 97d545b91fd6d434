// The headless input script: what each line holds and how bad lines fail.
#include <gtest/gtest.h>

#include "platform/headless/script.h"

using platform::InputScript;
using platform::ScriptEvent;

namespace {

InputScript parseOk(const std::string& text) {
    std::string error;
    auto s = InputScript::parse(text, error);
    EXPECT_TRUE(s.has_value()) << error;
    return s ? *s : InputScript{};
}

std::string parseError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(InputScript::parse(text, error).has_value());
    return error;
}

}  // namespace

TEST(InputScript, KeysHoldOverTheirRangeAndOverlappingLinesAdd) {
    auto s = parseOk("# warm-up\n\n10-20 up z\n15 left   # comment\n30 c\n");
    EXPECT_EQ(s.keysAt(9), 0);
    EXPECT_EQ(s.keysAt(10), platform::KeyUp | platform::KeyZ);
    EXPECT_EQ(s.keysAt(15), platform::KeyUp | platform::KeyZ | platform::KeyLeft);
    EXPECT_EQ(s.keysAt(20), platform::KeyUp | platform::KeyZ);
    EXPECT_EQ(s.keysAt(21), 0);
    EXPECT_EQ(s.keysAt(30), platform::KeyC);
    EXPECT_FALSE(s.usesJoystick());
}

TEST(InputScript, JoystickTokensAttachAController) {
    auto s = parseOk("0-4 joy:-1000,1000,b1,b3\n5 joy:900,0\n");
    ASSERT_TRUE(s.usesJoystick());
    auto a = s.joystickAt(2);
    EXPECT_EQ(a.x, -1000);
    EXPECT_EQ(a.y, 1000);
    EXPECT_EQ(a.buttons, (1u << 1) | (1u << 3));
    EXPECT_EQ(s.joystickAt(5).x, 900);
    EXPECT_EQ(s.joystickAt(6).x, 0);  // released: centred
}

TEST(InputScript, EventsAreKeptInOrder) {
    auto s = parseOk("3 focus-lost minimize\n8 restore focus-gained escape rbutton lbutton close destroy\n");
    ASSERT_EQ(s.lines().size(), 2u);
    EXPECT_EQ(s.lines()[0].events, (std::vector{ScriptEvent::FocusLost, ScriptEvent::Minimize}));
    EXPECT_EQ(s.lines()[1].events.size(), 7u);
    EXPECT_EQ(s.lines()[1].events.front(), ScriptEvent::Restore);
    EXPECT_EQ(s.lines()[1].events.back(), ScriptEvent::Destroy);
}

TEST(InputScript, BadLinesNameTheLine) {
    EXPECT_NE(parseError("0 up\n1 jump\n").find("line 2"), std::string::npos);
    EXPECT_NE(parseError("x up\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("\n\n9-3 up\n").find("line 3"), std::string::npos);
    EXPECT_NE(parseError("-1 up\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("1 joy:5\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("1 joy:0,2000\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("1 joy:0,0,b40\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("1 joy:0,0,x2\n").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("1 Up\n").find("'Up'"), std::string::npos);
}
