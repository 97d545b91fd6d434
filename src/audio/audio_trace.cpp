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
    bool on = false;
    std::vector<SoundCall> played, stopped;
    std::vector<MusicCall> music;
};

// Never destroyed: sound banks may still stop their sounds while the
// process's static objects go.
Record& record() {
    static Record* r = new Record;
    return *r;
}

void writeSounds(JsonWriter& w, const char* name, const std::vector<SoundCall>& calls) {
    w.beginArray(name);
    for (const auto& c : calls) w.openObject().field("owner", c.owner).field("entry", c.entry).end();
    w.end();
}

}  // namespace

void setAudioCallRecording(bool on) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    r.on = on;
    if (!on) {
        r.played.clear();
        r.stopped.clear();
        r.music.clear();
    }
}

std::size_t heldAudioCalls() {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    return r.played.size() + r.stopped.size() + r.music.size();
}

void recordSoundCall(const std::string& owner, int entry, bool played) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    if (r.on) (played ? r.played : r.stopped).push_back({owner, entry});
}

void recordMusicCall(const char* call, int t) {
    Record& r = record();
    std::lock_guard lock(r.mutex);
    if (r.on) r.music.push_back({call, t});
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
