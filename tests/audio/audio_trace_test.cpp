// The trace's audio member: what was played, stopped and called this frame.
#include <gtest/gtest.h>

#include "audio/audio_trace.h"
#include "audio/music_player.h"
#include "audio/sound_bank.h"

namespace {
// Recording is on only while a trace is written; each test says which.
struct Recording {
    explicit Recording(bool on) { setAudioCallRecording(on); }
    ~Recording() { setAudioCallRecording(false); }
};
}  // namespace

TEST(AudioTrace, RecordsTheFramesCallsInOrderAndStartsAfreshNextFrame) {
    Recording on(true);
    SoundBank world("World"), display("Display");
    MusicPlayer music;  // not initialised: the calls are traced all the same
    world.stop(0);
    world.play(0);
    display.play(12);
    music.stopAll();
    music.playTrack(2);
    music.fadeOut(2);
    JsonWriter w;
    traceAudio(w);
    EXPECT_EQ(w.finish(),
              R"({"audio":{"played":[{"owner":"World","entry":0},{"owner":"Display","entry":12}],)"
              R"("stopped":[{"owner":"World","entry":0}],)"
              R"("music":[{"call":"stopAll"},{"call":"playTrack","t":2},{"call":"fadeOut","t":2}]}})");
    JsonWriter next;
    traceAudio(next);
    EXPECT_EQ(next.finish(), R"({"audio":{"played":[],"stopped":[],"music":[]}})");
}

TEST(AudioTrace, WithoutATraceNothingIsHeldHoweverLongThePlay) {
    Recording off(false);
    SoundBank world("World");
    MusicPlayer music;
    for (int i = 0; i < 100000; ++i) {
        world.play(i % 40);
        world.stop(i % 40);
        if (i % 100 == 0) music.playTrack(2);
    }
    EXPECT_EQ(heldAudioCalls(), 0u);
    // Switching recording on starts from an empty record.
    setAudioCallRecording(true);
    world.play(3);
    EXPECT_EQ(heldAudioCalls(), 1u);
    JsonWriter w;
    traceAudio(w);
    EXPECT_EQ(heldAudioCalls(), 0u);
}
