// Ending the process while the music still decodes in the background: every
// short run does, and the decoders must stop before anything they call into
// is gone. The sanitizer builds (ThreadSanitizer above all) report any
// access to the audio output after or during its close as an error.
#include <gtest/gtest.h>

#include "support/run_game.h"

TEST(Shutdown, EndingWhileTheTracksDecodeIsClean) {
    // Frame counts from immediate exit to some way into the decoding; each
    // run ends with tracks half decoded, decoded, or not yet started.
    for (int frames : {1, 3, 8, 21}) {
        GameRunRequest r;
        r.args = {"--frames", std::to_string(frames)};
        r.trace = false;
        const GameRun run = runGame(r);
        EXPECT_EQ(run.exitCode, 0) << "--frames " << frames << "\n" << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    }
}

TEST(Shutdown, EndingLongAfterEveryTrackDecodedIsClean) {
    // The decoders touched the output from their own threads; the process
    // must still stop them before it closes the output.
    GameRunRequest r;
    r.args = {"--frames", "6000"};
    r.trace = false;
    const GameRun run = runGame(r);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
}

TEST(Shutdown, AQuitRequestWhileDecodingEndsCleanlyToo) {
    for (const char* event : {"escape", "close", "destroy"}) {
        GameRunRequest r;
        r.script = std::string("0 ") + event + "\n";
        r.trace = false;
        const GameRun run = runGame(r);
        EXPECT_EQ(run.exitCode, 0) << event << "\n" << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    }
}
