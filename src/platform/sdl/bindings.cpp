#include "platform/sdl/bindings.h"

#include <SDL.h>

#include "platform/input.h"

namespace platform {

static_assert(PadReading::kButtons == SDL_CONTROLLER_BUTTON_MAX);

namespace {

using settings::kActionCount;
using settings::kActionNames;
using settings::Problem;

// The key code each action presses; pause and the volumes are presses of
// their own (keyAction, buttonAction).
constexpr int kActionDik[kActionCount] = {DIK_UP, DIK_DOWN, DIK_LEFT, DIK_RIGHT, DIK_Z, DIK_X, -1, -1, -1, -1, -1};

// Which action holds `code` in one list of its slot (key codes, scancodes
// or buttons), -1 for none.
template <typename Slot, typename Code, std::size_t N>
int holder(const Slot (&slots)[kActionCount], Code (Slot::*list)[N], Code code) {
    for (int a = 0; a < kActionCount; ++a)
        for (int i = 0; i < slots[a].count; ++i)
            if ((slots[a].*list)[i] == code) return a;
    return -1;
}

// The file's bindings first, in the order of their lines, so that of two
// actions on one key the later line is the one left out; then the defaults
// of the actions the file does not bind (or binds with no name that could be
// used: that line is ignored), where their keys are still free.
template <typename Lookup, typename Taken, typename Add>
void resolve(const std::array<settings::Binding, kActionCount>& given,
             const std::array<const char*, kActionCount>& defaults, bool keyboard, Lookup lookup, Taken taken,
             Add add, std::vector<Problem>& problems) {
    const char* what = keyboard ? "key" : "game controller button";
    int order[kActionCount];
    int count = 0;
    for (int line = 1, left = 0; count < kActionCount && left >= 0; ++line) {  // by line
        left = -1;
        for (int a = 0; a < kActionCount; ++a) {
            if (given[a].line == line) order[count++] = a;
            if (given[a].line > line) left = 0;
        }
    }
    bool useDefault[kActionCount];
    for (int a = 0; a < kActionCount; ++a) useDefault[a] = given[a].line == 0;
    for (int n = 0; n < count; ++n) {
        const int a = order[n];
        const settings::Binding& b = given[a];
        int bound = 0;
        for (const std::string& name : b.names) {
            auto report = [&](const std::string& why) { problems.push_back({b.line, why}); };
            const auto code = lookup(name.c_str());
            if (!code) {
                report(std::string("'") + name + "' is not an SDL " + what + " name; " + kActionNames[a] +
                       " goes without it");
                continue;
            }
            if (keyboard && static_cast<long>(code) == SDLK_ESCAPE) {
                report("Escape always quits; it cannot be bound to " + std::string(kActionNames[a]));
                continue;
            }
            const int owner = taken(code);
            if (owner == a) continue;
            if (owner >= 0) {
                report("'" + name + "' is already bound to " + kActionNames[owner] + "; ignored for " +
                       kActionNames[a]);
                continue;
            }
            if (add(a, code)) ++bound;
            else
                report(std::string(kActionNames[a]) + " takes at most " +
                       std::to_string(InputBindings::kMaxPerAction) + " names; '" + name + "' is left out");
        }
        if (bound == 0) useDefault[a] = true;
    }
    for (int a = 0; a < kActionCount; ++a) {
        if (!useDefault[a] || !*defaults[a]) continue;
        const auto code = lookup(defaults[a]);
        if (taken(code) < 0) add(a, code);
    }
}

}  // namespace

InputBindings resolveBindings(const settings::Settings& s, std::vector<Problem>& problems) {
    InputBindings out;
    resolve(
        s.keys, settings::kDefaultKeys, true, [](const char* name) { return SDL_GetKeyFromName(name); },
        [&](SDL_Keycode code) { return holder(out.keys, &InputBindings::Keys::codes, code); },
        [&](int a, SDL_Keycode code) {
            InputBindings::Keys& k = out.keys[a];
            if (k.count == InputBindings::kMaxPerAction) return false;
            k.codes[k.count++] = code;
            return true;
        },
        problems);
    // SDL_CONTROLLER_BUTTON_INVALID is -1; the lookup returns it plus one, so
    // that "no such name" is 0 as it is for keys.
    resolve(
        s.pad, settings::kDefaultPad, false,
        [](const char* name) { return static_cast<int>(SDL_GameControllerGetButtonFromString(name)) + 1; },
        [&](int code) { return holder(out.pad, &InputBindings::Buttons::buttons, code - 1); },
        [&](int a, int code) {
            InputBindings::Buttons& b = out.pad[a];
            if (b.count == InputBindings::kMaxPerAction) return false;
            b.buttons[b.count++] = code - 1;
            return true;
        },
        problems);
    out.cBound = holder(out.keys, &InputBindings::Keys::codes, std::int32_t{SDLK_c}) >= 0;
    placeKeys(out);
    return out;
}

void placeKeys(InputBindings& bindings) {
    for (auto& k : bindings.keys)
        for (int i = 0; i < k.count; ++i) k.scancodes[i] = SDL_GetScancodeFromKey(k.codes[i]);
}

std::string describeBindings(const InputBindings& bindings) {
    std::string out = "Keys:\n";
    auto row = [&](int a) {
        std::string name = kActionNames[a];
        out += "  " + name + std::string(12 - name.size(), ' ');
    };
    for (int a = 0; a < kActionCount; ++a) {
        row(a);
        const auto& k = bindings.keys[a];
        for (int i = 0; i < k.count; ++i) out += (i ? ", " : "") + std::string(SDL_GetKeyName(k.codes[i]));
        out += k.count ? "\n" : "(none)\n";
    }
    out += "Game controller buttons (the left stick steers as well):\n";
    for (int a = 0; a < kActionCount; ++a) {
        row(a);
        const auto& b = bindings.pad[a];
        for (int i = 0; i < b.count; ++i)
            out += (i ? ", " : "") + std::string(SDL_GameControllerGetStringForButton(
                                         static_cast<SDL_GameControllerButton>(b.buttons[i])));
        out += b.count ? "\n" : "(none)\n";
    }
    return out;
}

void keysFromKeyboard(const InputBindings& bindings, const std::uint8_t* state, int count, std::uint8_t keys[256]) {
    auto down = [&](int s) { return s > SDL_SCANCODE_UNKNOWN && s < count && state[s]; };
    for (int a = 0; a < kActionCount; ++a) {
        if (kActionDik[a] < 0) continue;
        const auto& k = bindings.keys[a];
        for (int i = 0; i < k.count; ++i)
            if (down(k.scancodes[i])) keys[kActionDik[a]] = 0x80;
    }
    // C gives its own code (which nothing in the game acts on) while it is no game key.
    if (!bindings.cBound && down(SDL_SCANCODE_C)) keys[DIK_C] = 0x80;
}

void keysFromPad(const InputBindings& bindings, const PadReading& pad, std::uint8_t keys[256]) {
    constexpr int half = 16384;
    if (pad.leftY <= -half) keys[DIK_UP] = 0x80;
    if (pad.leftY >= half) keys[DIK_DOWN] = 0x80;
    if (pad.leftX <= -half) keys[DIK_LEFT] = 0x80;
    if (pad.leftX >= half) keys[DIK_RIGHT] = 0x80;
    for (int a = 0; a < kActionCount; ++a) {
        if (kActionDik[a] < 0) continue;
        const auto& b = bindings.pad[a];
        for (int i = 0; i < b.count; ++i)
            if (b.buttons[i] >= 0 && b.buttons[i] < PadReading::kButtons && pad.buttons[b.buttons[i]])
                keys[kActionDik[a]] = 0x80;
    }
}

int keyAction(const InputBindings& bindings, int scancode) {
    if (scancode == SDL_SCANCODE_UNKNOWN) return -1;
    return holder(bindings.keys, &InputBindings::Keys::scancodes, scancode);
}

int buttonAction(const InputBindings& bindings, int button) {
    return holder(bindings.pad, &InputBindings::Buttons::buttons, button);
}

}  // namespace platform
