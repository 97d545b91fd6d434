// libFuzzer target: the bytes as a replay file. The reader checks the whole
// file; a file it accepts is then walked record by record as playback does,
// its messages and device states decoded, which must never read outside it.
//
// An input whose first byte is odd is taken as records only: the whole
// records it starts with get a good header and a good end record (count and
// checksum), so that the walk is reached as often as the checks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/replay/replay_format.h"

namespace rp = platform::replay;

namespace {

std::vector<std::uint8_t> sealed(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(rp::headerSize);
    rp::encodeHeader(rp::Header{}, file.data());
    std::size_t pos = 0, kept = 0;
    std::uint64_t count = 0;
    rp::Record r;
    while (rp::decodeRecord(data, size, pos, r) == rp::Decoded::Ok && r.kind != rp::Kind::End) {
        kept = pos;
        ++count;
    }
    file.insert(file.end(), data, data + kept);
    std::uint8_t end[16];
    const std::uint32_t sum = rp::checksum(file.data(), file.size(), rp::checksumStart);
    file.insert(file.end(), end, end + rp::encodeEnd(count, sum, end));
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> wrapped;
    if (size > 0 && (data[0] & 1)) {
        wrapped = sealed(data + 1, size - 1);
        data = wrapped.data();
        size = wrapped.size();
    }
    rp::Header header;
    std::uint64_t records = 0;
    std::string error;
    if (!rp::validate(data, size, header, records, error)) {
        if (error.empty() || error.find('\n') != std::string::npos) __builtin_trap();  // one line, always
        if (!wrapped.empty()) __builtin_trap();  // a sealed file is always good
        return 0;
    }
    std::size_t pos = rp::headerSize;
    std::uint64_t seen = 0;
    rp::Record r;
    std::uint8_t state[rp::keyboardStateSize];
    for (;;) {
        if (rp::decodeRecord(data, size, pos, r) != rp::Decoded::Ok) __builtin_trap();  // it was accepted
        if (r.kind == rp::Kind::End) break;
        ++seen;
        if (r.kind == rp::Kind::Pump || r.kind == rp::Kind::Wait)
            for (std::size_t i = 0; i < r.count; ++i) (void)rp::messageAt(data, r, i);
        if (r.kind == rp::Kind::KeyboardState) rp::stateInto(data, r, state, rp::keyboardStateSize);
        if (r.kind == rp::Kind::JoystickState) rp::stateInto(data, r, state, rp::joystickStateSize);
    }
    if (seen != records || pos != size) __builtin_trap();
    return 0;
}
