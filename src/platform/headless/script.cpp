#include "platform/headless/script.h"

#include <charconv>
#include <map>
#include <sstream>

namespace platform {

namespace {

bool parseInt(const std::string& s, long long& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

const std::map<std::string, ScriptKey>& keyTokens() {
    static const std::map<std::string, ScriptKey> m = {
        {"up", KeyUp}, {"down", KeyDown}, {"left", KeyLeft}, {"right", KeyRight},
        {"z", KeyZ},   {"x", KeyX},       {"c", KeyC},
    };
    return m;
}

const std::map<std::string, ScriptEvent>& eventTokens() {
    static const std::map<std::string, ScriptEvent> m = {
        {"focus-lost", ScriptEvent::FocusLost}, {"focus-gained", ScriptEvent::FocusGained},
        {"minimize", ScriptEvent::Minimize},    {"restore", ScriptEvent::Restore},
        {"close", ScriptEvent::Close},          {"destroy", ScriptEvent::Destroy},
        {"escape", ScriptEvent::Escape},        {"rbutton", ScriptEvent::RButton},
        {"lbutton", ScriptEvent::LButton},
    };
    return m;
}

// "joy:X,Y[,bN...]"
bool parseJoystick(const std::string& token, ScriptLine& line, std::string& why) {
    std::vector<std::string> parts;
    std::stringstream ss(token);
    for (std::string part; std::getline(ss, part, ',');) parts.push_back(part);
    long long x, y;
    if (parts.size() < 2 || !parseInt(parts[0], x) || !parseInt(parts[1], y)) {
        why = "joystick token needs joy:X,Y";
        return false;
    }
    if (x < -1000 || x > 1000 || y < -1000 || y > 1000) {
        why = "joystick axes run from -1000 to 1000";
        return false;
    }
    line.joyX = static_cast<std::int32_t>(x);
    line.joyY = static_cast<std::int32_t>(y);
    for (std::size_t i = 2; i < parts.size(); ++i) {
        long long b;
        if (parts[i].size() < 2 || parts[i][0] != 'b' || !parseInt(parts[i].substr(1), b) ||
            b < 0 || b > 31) {
            why = "joystick button must be b0 to b31, not '" + parts[i] + "'";
            return false;
        }
        line.joyButtons |= 1u << b;
    }
    line.joystick = true;
    return true;
}

}  // namespace

std::optional<InputScript> InputScript::parse(const std::string& text, std::string& error) {
    InputScript script;
    std::stringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        const std::string content = raw.substr(0, raw.find('#'));
        std::stringstream words(content);
        std::string range;
        if (!(words >> range)) continue;  // blank or comment

        auto fail = [&](const std::string& why) {
            error = "input script line " + std::to_string(number) + ": " + why + " (\"" + raw + "\")";
            return std::optional<InputScript>();
        };

        ScriptLine line;
        line.lineNumber = number;
        const auto dash = range.find('-');
        long long first, last;
        if (!parseInt(range.substr(0, dash), first) ||
            (dash != std::string::npos && !parseInt(range.substr(dash + 1), last)))
            return fail("expected FRAME or FRAME-FRAME, got '" + range + "'");
        if (dash == std::string::npos) last = first;
        if (first < 0 || last < first) return fail("frame range must not be negative or reversed");
        line.first = static_cast<std::uint64_t>(first);
        line.last = static_cast<std::uint64_t>(last);

        for (std::string token; words >> token;) {
            if (auto k = keyTokens().find(token); k != keyTokens().end()) {
                line.keys |= k->second;
            } else if (auto e = eventTokens().find(token); e != eventTokens().end()) {
                line.events.push_back(e->second);
            } else if (token.rfind("joy:", 0) == 0) {
                std::string why;
                if (!parseJoystick(token.substr(4), line, why)) return fail(why);
                script.usesJoystick_ = true;
            } else {
                return fail("unknown token '" + token + "'");
            }
        }
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
