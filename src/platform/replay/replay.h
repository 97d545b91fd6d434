// Replays: every platform read that can change the game's course (the
// clocks, the message pump, the window's state, the instance lock, the input
// devices' results and states) written to a file as the game makes it, or
// given back from such a file in its place. os.cpp and input.cpp call the
// hooks below at each of those reads; with neither started they do nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "platform/os.h"
#include "platform/replay/replay_format.h"

namespace platform::replay {

// Starts writing `path`; false with `error` set when it cannot be created.
bool startRecording(const std::string& path, std::int32_t startTick, std::string& error);
// Reads and checks the whole of `path` before anything runs; from then on
// the reads come from it. False with a one-line `error` for a bad file.
bool startPlayback(const std::string& path, Header& header, std::string& error);
// Ends recording (writes the end record and closes the file) or playback;
// later reads are live again. Calling it again does nothing.
void finish();

bool recording();
bool playing();

// Playback hooks: false when not playing. Otherwise they give the next
// recorded read, which must be of `kind`: one of another kind is a desync,
// reported in one line on stderr, and the process ends with exit code 2.
// Past the last record a WM_QUIT is posted and a neutral value given (the
// last clock value, no window shown, an unacquired device).
bool playValue(Kind kind, std::int64_t& out);
bool playMessages(Kind kind, std::deque<MSG>& queue);
bool playState(Kind kind, std::int32_t& result, std::uint8_t* state, std::size_t size);

// Recording hooks: do nothing unless recording. recordMessages writes the
// messages queued from index `from` on; a failed read's state is not kept.
void recordValue(Kind kind, std::int64_t value);
void recordMessages(Kind kind, const std::deque<MSG>& queue, std::size_t from);
void recordState(Kind kind, std::int32_t result, const std::uint8_t* state, std::size_t size);

}  // namespace platform::replay
