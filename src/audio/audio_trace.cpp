#include "audio/audio_trace.h"

#include <mutex>
#include <vector>

namespace {

struct SoundCall {
    std::string owner;
    int entry;
};
struct MusicCall {
    const char* call;
    int t;
};
struct Record {
    std::mutex mutex;
    std::vector<SoundCall> played, stopped;
    std::vector<MusicCall> music;
};

Record& record() {
    static Record r;
    return r;
}

void writeSounds(JsonWriter& w, const char* name, const std::vector<SoundCall>& calls) {
    w.beginArray(name);
    for (const auto& c : calls) w.openObject().field("owner", c.owner).field("entry", c.entry).end();
    w.end();
}

}  // namespace

void recordSoundCall(const std::string& owner, int entry, bool played) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    (played ? r.played : r.stopped).push_back({owner, entry});
}

void recordMusicCall(const char* call, int t) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    r.music.push_back({call, t});
}

void traceAudio(JsonWriter& w) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    w.beginObject("audio");
    writeSounds(w, "played", r.played);
    writeSounds(w, "stopped", r.stopped);
    w.beginArray("music");
    for (const auto& m : r.music) {
        w.openObject().field("call", m.call);
        if (m.t >= 0) w.field("t", m.t);
        w.end();
    }
    w.end();
    w.end();
    r.played.clear();
    r.stopped.clear();
    r.music.clear();
}
