// The headless input script and the lockstep input: what each line holds
// and how bad lines fail.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/headless/lockstep.h"
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

TEST(ScriptTokens, ALineOfTokensReplacesWhatTheLastOneHeld) {
    platform::ScriptLine line;
    std::string why;
    ASSERT_TRUE(platform::parseScriptTokens("\tup  z\r", line, why)) << why;
    EXPECT_EQ(line.keys, platform::KeyUp | platform::KeyZ);
    ASSERT_TRUE(platform::parseScriptTokens("joy:-5,7,b0,b31 close lbutton # left down", line, why)) << why;
    EXPECT_EQ(line.keys, 0);
    EXPECT_TRUE(line.joystick);
    EXPECT_EQ(line.joyX, -5);
    EXPECT_EQ(line.joyY, 7);
    EXPECT_EQ(line.joyButtons, 1u | (1u << 31));
    EXPECT_EQ(line.events, (std::vector{ScriptEvent::Close, ScriptEvent::LButton}));
    ASSERT_TRUE(platform::parseScriptTokens("", line, why));
    EXPECT_FALSE(line.joystick);
    EXPECT_EQ(line.joyButtons, 0u);
    EXPECT_TRUE(line.events.empty());
    for (const char* bad : {"jump", "joy:1", "joy:1,", "joy:1,2,", "joy:1,2,b", "joy:a,2", "z,up"})
        EXPECT_FALSE(platform::parseScriptTokens(bad, line, why)) << bad;
}

namespace {

// A LockstepInput reading `text` as its stream.
struct Feed {
    explicit Feed(const std::string& text) : data(text), file(fmemopen(data.data(), data.size(), "r")), in(file) {}
    ~Feed() { std::fclose(file); }
    std::string data;
    std::FILE* file;
    platform::LockstepInput in;
};

}  // namespace

TEST(LockstepInput, OneLinePerReadUntilTheEnd) {
    Feed feed("z up\n\n# nothing\nlbutton focus-lost\nx");  // the last line has no newline
    using Read = platform::LockstepInput::Read;
    ASSERT_EQ(feed.in.next(), Read::Line);
    EXPECT_EQ(feed.in.line().keys, platform::KeyZ | platform::KeyUp);
    ASSERT_EQ(feed.in.next(), Read::Line);
    EXPECT_EQ(feed.in.line().keys, 0);
    ASSERT_EQ(feed.in.next(), Read::Line);
    EXPECT_EQ(feed.in.line().keys, 0);
    ASSERT_EQ(feed.in.next(), Read::Line);
    EXPECT_EQ(feed.in.line().events, (std::vector{ScriptEvent::LButton, ScriptEvent::FocusLost}));
    ASSERT_EQ(feed.in.next(), Read::Line);
    EXPECT_EQ(feed.in.line().keys, platform::KeyX);
    EXPECT_TRUE(feed.in.line().events.empty());
    EXPECT_EQ(feed.in.linesRead(), 5);
    EXPECT_EQ(feed.in.next(), Read::End);
    EXPECT_FALSE(feed.in.joystick());
}

TEST(LockstepInput, ABadLineIsNamedWithItsNumber) {
    Feed feed("z\nup\nz zz\n");
    using Read = platform::LockstepInput::Read;
    ASSERT_EQ(feed.in.next(), Read::Line);
    ASSERT_EQ(feed.in.next(), Read::Line);
    ASSERT_EQ(feed.in.next(), Read::Bad);
    EXPECT_NE(feed.in.error().find("line 3"), std::string::npos) << feed.in.error();
    EXPECT_NE(feed.in.error().find("'zz'"), std::string::npos) << feed.in.error();
    EXPECT_NE(feed.in.error().find("\"z zz\""), std::string::npos) << feed.in.error();
}

TEST(LockstepInput, OnlyTheFirstLineAttachesAJoystick) {
    using Read = platform::LockstepInput::Read;
    Feed with("joy:0,0\nz\njoy:1000,-1000,b2\n");
    ASSERT_EQ(with.in.next(), Read::Line);
    EXPECT_TRUE(with.in.joystick());
    ASSERT_EQ(with.in.next(), Read::Line);
    EXPECT_FALSE(with.in.line().joystick);  // centred
    ASSERT_EQ(with.in.next(), Read::Line);
    EXPECT_EQ(with.in.line().joyX, 1000);
    EXPECT_EQ(with.in.line().joyButtons, 1u << 2);

    Feed without("z\njoy:0,0\n");
    ASSERT_EQ(without.in.next(), Read::Line);
    EXPECT_EQ(without.in.next(), Read::Bad);
    EXPECT_NE(without.in.error().find("line 2"), std::string::npos);
    EXPECT_FALSE(without.in.joystick());
}

TEST(LockstepInput, LongLinesAreReadWhole) {
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "left ";
    Feed feed(many + "right\nz\n");
    ASSERT_EQ(feed.in.next(), platform::LockstepInput::Read::Line);
    EXPECT_EQ(feed.in.line().keys, platform::KeyLeft | platform::KeyRight);
    ASSERT_EQ(feed.in.next(), platform::LockstepInput::Read::Line);
    EXPECT_EQ(feed.in.line().keys, platform::KeyZ);
}
