#include "platform/headless/script.h"

#include <charconv>
#include <sstream>
#include <utility>

namespace platform {

namespace {

bool parseInt(std::string_view s, long long& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

constexpr std::pair<std::string_view, ScriptKey> keyTokens[] = {
    {"up", KeyUp}, {"down", KeyDown}, {"left", KeyLeft}, {"right", KeyRight},
    {"z", KeyZ},   {"x", KeyX},       {"c", KeyC},
};

constexpr std::pair<std::string_view, ScriptEvent> eventTokens[] = {
    {"focus-lost", ScriptEvent::FocusLost}, {"focus-gained", ScriptEvent::FocusGained},
    {"minimize", ScriptEvent::Minimize},    {"restore", ScriptEvent::Restore},
    {"close", ScriptEvent::Close},          {"destroy", ScriptEvent::Destroy},
    {"escape", ScriptEvent::Escape},        {"rbutton", ScriptEvent::RButton},
    {"lbutton", ScriptEvent::LButton},      {"pause", ScriptEvent::Pause},
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The next whitespace-separated word of `rest` (empty at the end).
std::string_view nextWord(std::string_view& rest) {
    std::size_t i = 0;
    while (i < rest.size() && isSpace(rest[i])) ++i;
    std::size_t j = i;
    while (j < rest.size() && !isSpace(rest[j])) ++j;
    const std::string_view word = rest.substr(i, j - i);
    rest.remove_prefix(j);
    return word;
}

// The next comma-separated part of `rest`; false when none is left.
bool nextPart(std::string_view& rest, std::string_view& part, bool& more) {
    if (!more) return false;
    const auto comma = rest.find(',');
    part = rest.substr(0, comma);
    more = comma != std::string_view::npos;
    rest.remove_prefix(more ? comma + 1 : rest.size());
    return true;
}

// "X,Y[,bN...]" (after "joy:")
bool parseJoystick(std::string_view token, ScriptLine& line, std::string& why) {
    std::string_view part, rest = token;
    bool more = true;
    long long x, y;
    if (!nextPart(rest, part, more) || !parseInt(part, x) || !nextPart(rest, part, more) ||
        !parseInt(part, y)) {
        why = "joystick token needs joy:X,Y";
        return false;
    }
    if (x < -1000 || x > 1000 || y < -1000 || y > 1000) {
        why = "joystick axes run from -1000 to 1000";
        return false;
    }
    line.joyX = static_cast<std::int32_t>(x);
    line.joyY = static_cast<std::int32_t>(y);
    line.joyButtons = 0;
    while (nextPart(rest, part, more)) {
        long long b;
        if (part.size() < 2 || part[0] != 'b' || !parseInt(part.substr(1), b) || b < 0 || b > 31) {
            why = "joystick button must be b0 to b31, not '" + std::string(part) + "'";
            return false;
        }
        line.joyButtons |= 1u << b;
    }
    line.joystick = true;
    return true;
}

}  // namespace

bool parseScriptTokens(std::string_view text, ScriptLine& line, std::string& why) {
    line.keys = 0;
    line.joystick = false;
    line.joyX = line.joyY = 0;
    line.joyButtons = 0;
    line.events.clear();
    std::string_view rest = text.substr(0, text.find('#'));
    for (std::string_view token = nextWord(rest); !token.empty(); token = nextWord(rest)) {
        bool known = false;
        for (const auto& [name, key] : keyTokens)
            if (token == name) line.keys |= key, known = true;
        for (const auto& [name, event] : eventTokens)
            if (token == name) line.events.push_back(event), known = true;
        if (known) continue;
        if (token.substr(0, 4) == "joy:") {
            if (!parseJoystick(token.substr(4), line, why)) return false;
            continue;
        }
        why = "unknown token '" + std::string(token) + "'";
        return false;
    }
    return true;
}

std::optional<InputScript> InputScript::parse(const std::string& text, std::string& error) {
    InputScript script;
    std::stringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        std::string_view rest = std::string_view(raw).substr(0, raw.find('#'));
        const std::string_view range = nextWord(rest);
        if (range.empty()) continue;  // blank or comment

        auto fail = [&](const std::string& why) {
            error = "input script line " + std::to_string(number) + ": " + why + " (\"" + raw + "\")";
            return std::optional<InputScript>();
        };

        ScriptLine line;
        line.lineNumber = number;
        const auto dash = range.find('-');
        long long first, last;
        if (!parseInt(range.substr(0, dash), first) ||
            (dash != std::string_view::npos && !parseInt(range.substr(dash + 1), last)))
            return fail("expected FRAME or FRAME-FRAME, got '" + std::string(range) + "'");
        if (dash == std::string_view::npos) last = first;
        if (first < 0 || last < first) return fail("frame range must not be negative or reversed");
        line.first = static_cast<std::uint64_t>(first);
        line.last = static_cast<std::uint64_t>(last);

        std::string why;
        if (!parseScriptTokens(rest, line, why)) return fail(why);
        script.usesJoystick_ = script.usesJoystick_ || line.joystick;
        script.lines_.push_back(std::move(line));
    }
    return script;
}

std::uint8_t InputScript::keysAt(std::uint64_t frame) const {
    std::uint8_t keys = 0;
    for (const auto& l : lines_)
        if (frame >= l.first && frame <= l.last) keys |= l.keys;
    return keys;
}

JoystickHold InputScript::joystickAt(std::uint64_t frame) const {
    JoystickHold hold;
    for (const auto& l : lines_)
        if (l.joystick && frame >= l.first && frame <= l.last) hold = {l.joyX, l.joyY, l.joyButtons};
    return hold;
}

}  // namespace platform
