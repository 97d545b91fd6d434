#include "platform/headless/lockstep.h"

#include <cstdlib>
#include <string_view>

namespace platform {

LockstepInput::LockstepInput(std::FILE* in) : in_(in) {
    line_.events.reserve(16);
    why_.reserve(128);
}

LockstepInput::~LockstepInput() { std::free(buffer_); }

LockstepInput::Read LockstepInput::next() {
    const ssize_t length = ::getline(&buffer_, &capacity_, in_);
    if (length < 0) return Read::End;
    ++number_;
    std::string_view text(buffer_, static_cast<std::size_t>(length));
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    line_.lineNumber = number_;
    line_.first = line_.last = 0;

    bool ok = parseScriptTokens(text, line_, why_);
    if (ok && number_ == 1) joystick_ = line_.joystick;
    if (ok && line_.joystick && !joystick_) {
        why_ = "joy: tokens need a joystick, which only a joy: token on the first line attaches";
        ok = false;
    }
    if (ok) return Read::Line;
    error_ = "lockstep line " + std::to_string(number_) + ": " + why_ + " (\"" + std::string(text) + "\")";
    return Read::Bad;
}

}  // namespace platform
