// The HUD end to end: the trace's radar list holds the blips of the frame's
// own HUD pass.
#include <gtest/gtest.h>

#include "support/run_game.h"

TEST(HudEndToEnd, TheRadarListsOnlyTheBlipsOfThisFramesHud) {
    GameRunRequest r;
    r.script = "0 z\n";
    r.args = {"--frames", "62", "--trace-groups", "world", "--start-tick", "4490"};
    const GameRun run = runGame(r);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    bool bossSeen = false;
    int blipFrames = 0;
    for (const auto& line : run.trace) {
        const auto& radar = line["world"]["radar"];
        // Boss2 enters during a frame's field step, after that frame's HUD:
        // its blip shows from the next frame on; until then the list is empty.
        if (!bossSeen) {
            EXPECT_EQ(radar.size(), 0u) << line["frame"].integer();
        } else {
            ASSERT_EQ(radar.size(), 1u) << line["frame"].integer();
            EXPECT_GE(radar[0]["image"].integer(), 1);
            EXPECT_LE(radar[0]["image"].integer(), 3);
            ++blipFrames;
        }
        bossSeen = line["world"]["lastCue"][13].integer() == 4500;
    }
    EXPECT_GT(blipFrames, 0);
}
