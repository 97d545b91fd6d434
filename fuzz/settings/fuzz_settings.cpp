// libFuzzer target: the bytes as a settings file. Reading must never fail
// outright: every fault is a problem on a line the text has, and writing a
// value back must give a text that reads that value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings/settings_file.h"

namespace st = platform::settings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<st::Problem> problems;
    const st::Settings s = st::parse(text, problems);
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    for (const auto& p : problems)
        if (p.line < 1 || static_cast<std::size_t>(p.line) > lines || p.what.empty()) __builtin_trap();
    for (const auto& b : s.keys)
        if ((b.line == 0) != b.names.empty()) __builtin_trap();

    // What the game saves at its end: the values it writes are what the
    // file then says, whatever else the file holds.
    const std::string saved = st::withValues(text, {{"music_volume", "37"}, {"window_size", "800x600"}});
    std::vector<st::Problem> again;
    const st::Settings t = st::parse(saved, again);
    if (!t.musicVolume.value || *t.musicVolume.value != 37) __builtin_trap();
    if (!t.windowSize.value || t.windowSize.value->width != 800 || t.windowSize.value->height != 600)
        __builtin_trap();
    return 0;
}
