#include "platform/replay/replay_format.h"

#include <cstring>

namespace platform::replay {

namespace {

// Little-endian fields.
void put(std::uint8_t* out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint64_t get(const std::uint8_t* in, int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t{in[i]} << (8 * i);
    return v;
}

// Width of a value record's field; 0 for kinds that are not plain values.
int valueWidth(Kind kind) {
    switch (kind) {
        case Kind::Calendar: return 8;
        case Kind::InstanceLock:
        case Kind::FrameDrawn: return 1;
        case Kind::Ms:
        case Kind::ShowState:
        case Kind::JoystickCount:
        case Kind::KeyboardAcquire:
        case Kind::JoystickAcquire:
        case Kind::JoystickPoll:
        case Kind::FrameEnd: return 4;
        default: return 0;
    }
}

bool signedValue(Kind kind) {
    return kind == Kind::Calendar || kind == Kind::KeyboardAcquire || kind == Kind::JoystickAcquire ||
           kind == Kind::JoystickPoll;
}

std::size_t stateSize(Kind kind) { return kind == Kind::KeyboardState ? keyboardStateSize : joystickStateSize; }

}  // namespace

const char* kindName(Kind kind) {
    static const char* const names[kindCount] = {
        "the end",           "the millisecond clock", "the calendar time",  "the message pump",
        "a message wait",    "the window's state",    "the instance lock",  "the joystick count",
        "a keyboard acquire", "a joystick acquire",   "a joystick poll",    "the keyboard state",
        "the joystick state", "the frame's end",   "whether a frame was drawn",
    };
    const auto i = static_cast<std::size_t>(kind);
    return i < kindCount ? names[i] : "an unknown read";
}

std::uint32_t checksum(const std::uint8_t* bytes, std::size_t size, std::uint32_t hash) {
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

Decoded decodeRecord(const std::uint8_t* bytes, std::size_t size, std::size_t& pos, Record& out) {
    if (pos >= size) return Decoded::CutShort;
    std::size_t p = pos;
    const std::uint8_t k = bytes[p];
    if (k >= kindCount) return Decoded::Bad;
    Record r;
    r.kind = static_cast<Kind>(k);
    ++p;
    auto has = [&](std::size_t n) { return size - p >= n; };
    if (const int width = valueWidth(r.kind)) {
        if (!has(width)) return Decoded::CutShort;
        const std::uint64_t raw = get(bytes + p, width);
        if ((r.kind == Kind::InstanceLock || r.kind == Kind::FrameDrawn) && raw > 1) return Decoded::Bad;
        if (signedValue(r.kind))
            r.value = width == 8 ? static_cast<std::int64_t>(raw) : static_cast<std::int32_t>(raw);
        else
            r.value = static_cast<std::int64_t>(raw);
        p += width;
    } else if (r.kind == Kind::Pump || r.kind == Kind::Wait) {
        if (!has(2)) return Decoded::CutShort;
        r.count = get(bytes + p, 2);
        p += 2;
        if (!has(r.count * messageSize)) return Decoded::CutShort;
        r.data = p;
        for (std::size_t i = 0; i < r.count; ++i)
            if (bytes[p + i * messageSize + messageSize - 1] > 1) return Decoded::Bad;  // unknown flags
        p += r.count * messageSize;
    } else if (r.kind == Kind::KeyboardState || r.kind == Kind::JoystickState) {
        if (!has(6)) return Decoded::CutShort;
        r.value = static_cast<std::int32_t>(get(bytes + p, 4));
        r.count = get(bytes + p + 4, 2);
        p += 6;
        if (r.count > stateSize(r.kind)) return Decoded::Bad;
        if (!has(2 * r.count)) return Decoded::CutShort;
        r.data = p;
        // Only the non-zero bytes, by rising index.
        int last = -1;
        for (std::size_t i = 0; i < r.count; ++i) {
            const int index = bytes[p + 2 * i];
            if (index <= last || static_cast<std::size_t>(index) >= stateSize(r.kind) || bytes[p + 2 * i + 1] == 0)
                return Decoded::Bad;
            last = index;
        }
        p += 2 * r.count;
    } else {  // End
        if (!has(12)) return Decoded::CutShort;
        r.value = static_cast<std::int64_t>(get(bytes + p, 8));
        r.count = static_cast<std::size_t>(get(bytes + p + 8, 4));
        p += 12;
    }
    out = r;
    pos = p;
    return Decoded::Ok;
}

bool validate(const std::uint8_t* bytes, std::size_t size, Header& header, std::uint64_t& records,
              std::string& error) {
    if (size == 0) {
        error = "the file is empty";
        return false;
    }
    if (size < sizeof magic || std::memcmp(bytes, magic, sizeof magic) != 0) {
        error = "not a replay (no replay header)";
        return false;
    }
    if (size < headerSize) {
        error = "truncated (the header is cut short)";
        return false;
    }
    header.version = static_cast<std::uint32_t>(get(bytes + 8, 4));
    header.startTick = static_cast<std::int32_t>(get(bytes + 12, 4));
    if (header.version != formatVersion) {
        error = "replay format version " + std::to_string(header.version) + "; this build plays version " +
                std::to_string(formatVersion);
        return false;
    }
    if (header.startTick < 0) {
        error = "damaged (a negative start tick in the header)";
        return false;
    }
    std::size_t pos = headerSize;
    std::uint64_t count = 0;
    Record r;
    for (;;) {
        if (pos == size) {
            error = "truncated (no end record after " + std::to_string(count) + " records)";
            return false;
        }
        const Decoded d = decodeRecord(bytes, size, pos, r);
        if (d == Decoded::CutShort) {
            error = "truncated (the last record is cut short)";
            return false;
        }
        if (d == Decoded::Bad) {
            error = "damaged (a bad record at byte " + std::to_string(pos) + ")";
            return false;
        }
        if (r.kind == Kind::End) break;
        ++count;
    }
    if (static_cast<std::uint64_t>(r.value) != count || r.count != checksum(bytes, pos - 13, checksumStart)) {
        error = "damaged (the end record's count or checksum does not match)";
        return false;
    }
    if (pos != size) {
        error = "damaged (bytes after the end record)";
        return false;
    }
    records = count;
    return true;
}

Message messageAt(const std::uint8_t* bytes, const Record& record, std::size_t i) {
    const std::uint8_t* m = bytes + record.data + i * messageSize;
    Message out;
    out.message = static_cast<std::uint32_t>(get(m, 4));
    out.wParam = get(m + 4, 8);
    out.lParam = static_cast<std::int64_t>(get(m + 12, 8));
    out.toWindow = m[20] & 1;
    return out;
}

void stateInto(const std::uint8_t* bytes, const Record& record, std::uint8_t* state, std::size_t size) {
    std::memset(state, 0, size);
    for (std::size_t i = 0; i < record.count; ++i) {
        const std::uint8_t* pair = bytes + record.data + 2 * i;
        if (pair[0] < size) state[pair[0]] = pair[1];
    }
}

std::size_t encodeHeader(const Header& header, std::uint8_t* out) {
    std::memcpy(out, magic, sizeof magic);
    put(out + 8, header.version, 4);
    put(out + 12, static_cast<std::uint32_t>(header.startTick), 4);
    return headerSize;
}

std::size_t encodeValue(Kind kind, std::int64_t value, std::uint8_t* out) {
    const int width = valueWidth(kind);
    out[0] = static_cast<std::uint8_t>(kind);
    put(out + 1, static_cast<std::uint64_t>(value), width);
    return 1 + static_cast<std::size_t>(width);
}

std::size_t encodeMessagesStart(Kind kind, std::uint16_t count, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(kind);
    put(out + 1, count, 2);
    return 3;
}

std::size_t encodeMessage(const Message& message, std::uint8_t* out) {
    put(out, message.message, 4);
    put(out + 4, message.wParam, 8);
    put(out + 12, static_cast<std::uint64_t>(message.lParam), 8);
    out[20] = message.toWindow ? 1 : 0;
    return messageSize;
}

std::size_t encodeState(Kind kind, std::int32_t result, const std::uint8_t* state, std::size_t size,
                        std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(kind);
    put(out + 1, static_cast<std::uint32_t>(result), 4);
    std::size_t n = 0;
    for (std::size_t i = 0; i < size && i < keyboardStateSize; ++i) {
        if (!state[i]) continue;
        out[7 + 2 * n] = static_cast<std::uint8_t>(i);
        out[8 + 2 * n] = state[i];
        ++n;
    }
    put(out + 5, n, 2);
    return 7 + 2 * n;
}

std::size_t encodeEnd(std::uint64_t records, std::uint32_t checksum, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(Kind::End);
    put(out + 1, records, 8);
    put(out + 9, checksum, 4);
    return 13;
}

}  // namespace platform::replay
