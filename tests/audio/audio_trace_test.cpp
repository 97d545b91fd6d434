// The trace's audio member: what was played, stopped and called this frame.
#include <gtest/gtest.h>

#include "audio/audio_trace.h"
#include "audio/music_player.h"
#include "audio/sound_bank.h"

TEST(AudioTrace, RecordsTheFramesCallsInOrderAndStartsAfreshNextFrame) {
    {
        JsonWriter w;
        traceAudio(w);  // whatever earlier tests left
    }
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
