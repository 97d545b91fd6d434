#include "platform/replay/replay.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/input.h"

namespace platform::replay {

namespace {

struct Recorder {
    std::FILE* file = nullptr;
    std::string path;
    std::uint32_t sum = checksumStart;
    std::uint64_t records = 0;
    bool failed = false;

    void write(const std::uint8_t* bytes, std::size_t n) {
        if (std::fwrite(bytes, 1, n, file) != n) failed = true;
        sum = checksum(bytes, n, sum);
    }
};

struct Player {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    std::uint64_t index = 0;  // records given so far
    bool ended = false;
    std::int64_t lastMs = 0;
    std::int64_t lastCalendar = 0;
};

Recorder* g_recorder = nullptr;
Player* g_player = nullptr;

[[noreturn]] void desync(Kind wanted, Kind recorded) {
    std::fprintf(stderr, "tervo: the replay does not match this run: the game read %s where record %llu holds %s\n",
                 kindName(wanted), static_cast<unsigned long long>(g_player->index + 1), kindName(recorded));
    std::fflush(nullptr);
    std::_Exit(2);
}

// The next record, which must be of `kind`; false past the last one.
bool next(Kind kind, Record& r) {
    Player& p = *g_player;
    if (!p.ended) {
        std::size_t pos = p.pos;
        decodeRecord(p.bytes.data(), p.bytes.size(), pos, r);  // checked at start
        if (r.kind != Kind::End) {
            if (r.kind != kind) desync(kind, r.kind);
            p.pos = pos;
            ++p.index;
            return true;
        }
        // The recorded run ended here: so does this one, before anything
        // else is read.
        p.ended = true;
        PostQuitMessage(0);
    }
    return false;
}

std::int64_t neutral(Kind kind) {
    switch (kind) {
        case Kind::Ms:
        case Kind::FrameEnd: return g_player->lastMs;
        case Kind::Calendar: return g_player->lastCalendar;
        case Kind::ShowState: return SW_HIDE;  // no frame runs
        case Kind::InstanceLock: return 1;
        case Kind::JoystickCount: return 0;
        default: return DIERR_NOTACQUIRED;
    }
}

}  // namespace

bool startRecording(const std::string& path, std::int32_t startTick, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot write the replay " + path;
        return false;
    }
    g_recorder = new Recorder;
    g_recorder->file = f;
    g_recorder->path = path;
    std::uint8_t header[headerSize];
    Header h;
    h.startTick = startTick;
    g_recorder->write(header, encodeHeader(h, header));
    return true;
}

bool startPlayback(const std::string& path, Header& header, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot read the replay";
        return false;
    }
    auto p = std::make_unique<Player>();
    p->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::uint64_t records = 0;
    if (!validate(p->bytes.data(), p->bytes.size(), header, records, error)) {
        error = path + ": " + error;
        return false;
    }
    p->pos = headerSize;
    g_player = p.release();
    return true;
}

void finish() {
    if (g_recorder) {
        Recorder& r = *g_recorder;
        std::uint8_t end[16];
        const std::uint32_t sum = r.sum;
        r.write(end, encodeEnd(r.records, sum, end));
        if (std::fclose(r.file) != 0) r.failed = true;
        if (r.failed) std::fprintf(stderr, "tervo: the replay %s could not be written whole\n", r.path.c_str());
        delete g_recorder;
        g_recorder = nullptr;
    }
    delete g_player;
    g_player = nullptr;
}

bool recording() { return g_recorder != nullptr; }
bool playing() { return g_player != nullptr; }

bool playValue(Kind kind, std::int64_t& out) {
    if (!g_player) return false;
    Record r;
    out = next(kind, r) ? r.value : neutral(kind);
    if (kind == Kind::Ms || kind == Kind::FrameEnd) g_player->lastMs = out;
    if (kind == Kind::Calendar) g_player->lastCalendar = out;
    return true;
}

bool playMessages(Kind kind, std::deque<MSG>& queue) {
    if (!g_player) return false;
    Record r;
    if (!next(kind, r)) return true;
    for (std::size_t i = 0; i < r.count; ++i) {
        const Message m = messageAt(g_player->bytes.data(), r, i);
        MSG msg;
        msg.hwnd = m.toWindow ? gameWindow() : nullptr;
        msg.message = m.message;
        msg.wParam = static_cast<WPARAM>(m.wParam);
        msg.lParam = static_cast<LPARAM>(m.lParam);
        queue.push_back(msg);
    }
    return true;
}

bool playState(Kind kind, std::int32_t& result, std::uint8_t* state, std::size_t size) {
    if (!g_player) return false;
    Record r;
    if (!next(kind, r)) {
        result = static_cast<std::int32_t>(neutral(kind));
        return true;
    }
    result = static_cast<std::int32_t>(r.value);
    if (SUCCEEDED(result)) stateInto(g_player->bytes.data(), r, state, size);
    return true;
}

void recordValue(Kind kind, std::int64_t value) {
    if (!g_recorder) return;
    std::uint8_t buf[16];
    g_recorder->write(buf, encodeValue(kind, value, buf));
    ++g_recorder->records;
}

void recordMessages(Kind kind, const std::deque<MSG>& queue, std::size_t from) {
    if (!g_recorder) return;
    const std::size_t n = queue.size() - from;
    std::uint8_t buf[messageSize];
    // A pump never queues anywhere near 65535 messages; more would be cut.
    const std::uint16_t count = static_cast<std::uint16_t>(n > 0xFFFF ? 0xFFFF : n);
    g_recorder->write(buf, encodeMessagesStart(kind, count, buf));
    for (std::size_t i = 0; i < count; ++i) {
        const MSG& msg = queue[from + i];
        Message m;
        m.message = msg.message;
        m.wParam = msg.wParam;
        m.lParam = msg.lParam;
        m.toWindow = msg.hwnd != nullptr;
        g_recorder->write(buf, encodeMessage(m, buf));
    }
    ++g_recorder->records;
}

void recordState(Kind kind, std::int32_t result, const std::uint8_t* state, std::size_t size) {
    if (!g_recorder) return;
    std::uint8_t buf[maxRecordSize];
    g_recorder->write(buf, encodeState(kind, result, state, SUCCEEDED(result) ? size : 0, buf));
    ++g_recorder->records;
}

}  // namespace platform::replay
