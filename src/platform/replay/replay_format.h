// The replay file's bytes: a header, one record per platform read the game
// made (in the order it made them), and an end record carrying the record
// count and a checksum. Encoding and decoding only; the reader is a pure
// function of the bytes (docs/replays.md describes the layout).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::replay {

inline constexpr std::uint8_t magic[8] = {'T', 'E', 'R', 'V', 'O', 'R', 'P', 'L'};
inline constexpr std::uint32_t formatVersion = 2;
inline constexpr std::size_t headerSize = 16;  // magic, version, start tick

// What a record holds; the numbers are part of the format.
enum class Kind : std::uint8_t {
    End = 0,               // record count (u64), checksum (u32)
    Ms = 1,                // timeGetTime (u32)
    Calendar = 2,          // time (i64)
    Pump = 3,              // the messages a pump queued (u16 count, messages)
    Wait = 4,              // the same for a blocking wait
    ShowState = 5,         // the window's show state (u32)
    InstanceLock = 6,      // the single-instance lock was won (u8 0 or 1)
    JoystickCount = 7,     // controllers attached (u32)
    KeyboardAcquire = 8,   // result code (i32)
    JoystickAcquire = 9,   // result code (i32)
    JoystickPoll = 10,     // result code (i32)
    KeyboardState = 11,    // result code (i32), the 256 key bytes (sparse)
    JoystickState = 12,    // result code (i32), the 80 DIJOYSTATE bytes (sparse)
    FrameEnd = 13,         // the millisecond clock the trace shows (u32)
    FrameDrawn = 14,       // the frame about to be rendered is drawn (u8 0 or 1)
};
inline constexpr int kindCount = 15;
const char* kindName(Kind kind);

// Sizes of the device states a record can hold.
inline constexpr std::size_t keyboardStateSize = 256;
inline constexpr std::size_t joystickStateSize = 80;
// The most bytes one message takes: message (u32), wParam (u64), lParam
// (i64), flags (u8: bit 0, sent to the game window).
inline constexpr std::size_t messageSize = 21;

struct Header {
    std::uint32_t version = formatVersion;
    std::int32_t startTick = 0;  // the practice start every game of the run used
};

// One decoded record. Messages and device bytes stay in the file's bytes:
// `data` is their offset, `count` how many there are.
struct Record {
    Kind kind = Kind::End;
    std::int64_t value = 0;   // the read's value, or the result code of a device read
    std::size_t count = 0;    // messages (Pump, Wait) or non-zero bytes (state reads)
    std::size_t data = 0;
};

struct Message {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    bool toWindow = true;
};

// Checks the whole file: header, every record, the end record's count and
// checksum, and that nothing follows it. On failure `error` is one line
// saying what is wrong ("not a replay", "truncated", ...).
bool validate(const std::uint8_t* bytes, std::size_t size, Header& header, std::uint64_t& records,
              std::string& error);

// Decodes the record at `pos` and moves past it (Ok); otherwise pos is
// unchanged: CutShort when the bytes end inside the record, Bad when they
// are not a well-formed record.
enum class Decoded { Ok, CutShort, Bad };
Decoded decodeRecord(const std::uint8_t* bytes, std::size_t size, std::size_t& pos, Record& out);
// Message i of a decoded Pump or Wait record.
Message messageAt(const std::uint8_t* bytes, const Record& record, std::size_t i);
// Writes a decoded state record's bytes into `state` (`size` bytes, zeroed first).
void stateInto(const std::uint8_t* bytes, const Record& record, std::uint8_t* state, std::size_t size);

// Encoding. Each writes into `out` and returns the bytes written; `out` must
// hold maxRecordSize (a state read) or messageSize (one message).
inline constexpr std::size_t maxRecordSize = 1 + 4 + 2 + 2 * keyboardStateSize;
std::size_t encodeHeader(const Header& header, std::uint8_t* out);
std::size_t encodeValue(Kind kind, std::int64_t value, std::uint8_t* out);
std::size_t encodeMessagesStart(Kind kind, std::uint16_t count, std::uint8_t* out);
std::size_t encodeMessage(const Message& message, std::uint8_t* out);
std::size_t encodeState(Kind kind, std::int32_t result, const std::uint8_t* state, std::size_t size,
                        std::uint8_t* out);
std::size_t encodeEnd(std::uint64_t records, std::uint32_t checksum, std::uint8_t* out);

// FNV-1a over the bytes, continuing from `hash` (start with checksumStart).
inline constexpr std::uint32_t checksumStart = 2166136261u;
std::uint32_t checksum(const std::uint8_t* bytes, std::size_t size, std::uint32_t hash);

}  // namespace platform::replay
