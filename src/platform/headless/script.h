// InputScript: the scripted input of a headless run.
//
// One line per frame range, "FRAME[-FRAME] TOKEN...", '#' starts a comment.
// Keys and joystick tokens are held during every frame of the range; window
// events, and the press of the pause key, are delivered once, before the
// first frame of the range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace platform {

enum ScriptKey : std::uint8_t {
    KeyUp = 1 << 0,
    KeyDown = 1 << 1,
    KeyLeft = 1 << 2,
    KeyRight = 1 << 3,
    KeyZ = 1 << 4,
    KeyX = 1 << 5,
    KeyC = 1 << 6,
};

enum class ScriptEvent {
    FocusLost, FocusGained, Minimize, Restore, Close, Destroy, Escape, RButton, LButton,
    Pause,  // the P key goes down (held through the range: one press)
};

struct ScriptLine {
    int lineNumber = 0;
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint8_t keys = 0;
    bool joystick = false;
    std::int32_t joyX = 0;
    std::int32_t joyY = 0;
    std::uint32_t joyButtons = 0;  // bit n: button n held
    std::vector<ScriptEvent> events;
};

struct JoystickHold {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t buttons = 0;
};

// Reads the tokens of one line (what follows its frame range; '#' starts a
// comment) into `line`'s keys, joystick and events, replacing what they held.
// Allocates nothing while `line.events` has room. On error sets `why`.
bool parseScriptTokens(std::string_view text, ScriptLine& line, std::string& why);

class InputScript {
public:
    // Parses the whole text; on error returns nothing and sets `error` to a
    // message that names the line.
    static std::optional<InputScript> parse(const std::string& text, std::string& error);

    const std::vector<ScriptLine>& lines() const { return lines_; }
    bool usesJoystick() const { return usesJoystick_; }

    // Keys held during a frame (the union of every line that covers it).
    std::uint8_t keysAt(std::uint64_t frame) const;
    // Joystick held during a frame (the last line that covers it), if any.
    JoystickHold joystickAt(std::uint64_t frame) const;

private:
    std::vector<ScriptLine> lines_;
    bool usesJoystick_ = false;
};

}  // namespace platform
