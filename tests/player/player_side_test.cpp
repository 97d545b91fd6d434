// The player side: the three hit tests and the damage they cost, the sight's
// lock and the missile's candidates in walking order, the HP gauge's blink,
// and the load order with its failure texts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/json_writer.h"
#include "audio/audio_trace.h"
#include "player/player_side.h"
#include "support/device_fixture.h"
#include "support/json.h"
#include "support/mini_pack.h"
#include "world/world.h"

using namespace platform;

namespace {

struct Side : ::testing::Test {
    Side() {
        fpu::setSinglePrecision(true);
        D3DXCreateSprite(f.device(), &sprite);
        side->attach(f.device(), f.window(), sprite);
        side->reset();
        setAudioCallRecording(true);
    }
    ~Side() override {
        setAudioCallRecording(false);
        sprite->Release();
    }

    // The player side's sounds since the last call: "p2 p3 s2" (played, stopped).
    std::string sounds() {
        JsonWriter w;
        traceAudio(w);
        const auto audio = testing_json::parse(w.finish())["audio"];
        std::string out;
        for (const char* kind : {"played", "stopped"})
            for (const auto& call : audio[kind].items)
                if (call["owner"].str() == "PlayerSide")
                    out += (out.empty() ? "" : " ") + std::string(1, kind[0]) + std::to_string(call["entry"].integer());
        return out;
    }
    // An active slot at (x, y, z) with unit half extents.
    static void put(Placement& p, Real x, Real y, Real z) {
        p.x = x, p.y = y, p.z = z;
        p.halfX = p.halfY = p.halfZ = 1.0;
        p.active = 1;
    }

    DeviceFixture f;
    ID3DXSprite* sprite = nullptr;
    std::unique_ptr<World> world = std::make_unique<World>();
    std::unique_ptr<PlayerSide> side = std::make_unique<PlayerSide>();
};

}  // namespace

TEST_F(Side, TwoShotsOnTheShipCostOnePointAndOnlyTheFirstLeaves) {
    Placement* shots = world->enemyShots.placements.data();
    put(shots[4], 0.5, 2.5, -6.0);
    put(shots[9], 0.0, 2.0, -7.0);
    side->testEnemyShots(shots);
    EXPECT_EQ(shots[4].z, -50.0);
    EXPECT_EQ(shots[9].z, -7.0);
    EXPECT_EQ(side->invulnerableFrames, 150);
    EXPECT_EQ(side->playerBlast.placements[0].x, 0.5);  // where the shot was
    EXPECT_EQ(side->playerBlast.placements[1].active, 0);
    EXPECT_EQ(sounds(), "p2 s2");
    side->runFrame();
    EXPECT_EQ(side->hitPoints(), 2);
    EXPECT_EQ(side->hitFlag, 0);
    EXPECT_EQ(side->invulnerableFrames, 149);
    EXPECT_EQ(sounds(), "");

    // Invulnerable: the shots pass through.
    Placement* beams = world->bossBeams.placements.data();
    put(beams[0], 0.0, 2.0, -7.0);
    side->testEnemyShots(shots);
    side->testBossShots(beams, 1);
    EXPECT_EQ(shots[9].z, -7.0);
    EXPECT_EQ(beams[0].z, -7.0);
    EXPECT_EQ(side->hitFlag, 0);
}

TEST_F(Side, TheSightLocksOnTheFirstEnemyInLineAndEveryGroupIsTested) {
    Placement& early = world->group(1).placements[3];
    Placement& nearer = world->group(4).placements[0];
    put(early, 0.3, 2.0, 40.0);
    put(nearer, 0.0, 2.5, 25.0);
    side->testEnemyBodies(*world);
    EXPECT_EQ(side->sight.locked, 1);
    EXPECT_EQ(side->sight.placements[0].z, 40.0);
    EXPECT_EQ(side->hitFlag, 0);

    // Two bodies on the ship: both explode, one point is lost.
    nearer.z = -7.0;
    put(world->boss.placements[0], 0.0, 2.0, -6.0);
    side->testEnemyBodies(*world);
    EXPECT_EQ(side->hitFlag, 1);
    EXPECT_EQ(side->playerBlast.placements[0].z, -7.0);
    EXPECT_EQ(side->playerBlast.placements[1].z, -6.0);
    EXPECT_EQ(sounds(), "p2 p2");
    EXPECT_EQ(nearer.active, 1);  // the enemy flies on
    side->runFrame();
    EXPECT_EQ(side->hitPoints(), 2);

    // Invulnerable: nothing is tested and the sight rests at z 20.
    side->testEnemyBodies(*world);
    EXPECT_EQ(side->sight.locked, 0);
    EXPECT_EQ(side->sight.placements[0].z, 20.0);
    EXPECT_EQ(side->hitFlag, 0);
}

TEST_F(Side, TheBodyTestOffersTheActiveEnemiesInWalkingOrder) {
    // Equal gaps: the first one walked wins.
    put(world->group(11).placements[3], 5.0, 5.0, 30.0);
    put(world->boss2.placements[0], -5.0, 5.0, 30.0);
    side->testEnemyBodies(*world);
    EXPECT_EQ(side->missile.target.x, 5.0);
    EXPECT_EQ(side->missile.nearestGap, 500.0);  // the search starts over next frame
    // One behind the ship wins, although it is walked last.
    put(world->boss.placements[0], 1.0, 8.0, -20.0);
    side->testEnemyBodies(*world);
    EXPECT_EQ(side->missile.target.x, 1.0);
}

TEST_F(Side, TheGaugeBlinksOnTwoAndOnePointsAndTheCounterCarriesOver) {
    // (frame index, frames shown) runs of `frames` drawn frames.
    auto runs = [&](int frames) {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < frames; ++i) {
            side->drawStatus();
            if (out.empty() || out.back().first != side->gaugeFrame) out.push_back({side->gaugeFrame, 0});
            ++out.back().second;
        }
        return out;
    };
    using Runs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(runs(5), (Runs{{3, 5}}));
    EXPECT_EQ(side->blinkCounter, 0);
    side->hpGauge.value = 2;
    EXPECT_EQ(runs(402), (Runs{{5, 99}, {2, 102}, {5, 99}, {2, 102}}));
    EXPECT_EQ(runs(150), (Runs{{5, 99}, {2, 51}}));
    // Above 100 on the first frame with 1 point: that frame shows "hp3" and
    // the blink starts over.
    side->hpGauge.value = 1;
    EXPECT_EQ(runs(103), (Runs{{1, 1}, {4, 49}, {1, 52}, {4, 1}}));
    side->hpGauge.value = 0;
    const int counter = side->blinkCounter;
    EXPECT_EQ(runs(3), (Runs{{0, 3}}));
    EXPECT_EQ(side->blinkCounter, counter);
}

TEST(PlayerSideLoad, EachMembersFailureEndsOnlyItsOwnStep) {
    DeviceFixture f;
    std::vector<std::string> files = {"t\\text.png",    "t\\bakuha.png", "x\\beam3.x",   "x\\missile.x",
                                      "t\\missile.png", "t\\effect.png", "t\\hp1.png",   "t\\hp3.png",
                                      "t\\hp4.png",     "t\\hp1-2.png",  "t\\hp2-2.png", "t\\sight1.png",
                                      "t\\sight2.png"};  // no "x\mychar.x", no "t\hp2.png"
    writeMiniPack(f.dir(), files);
    auto side = std::make_unique<PlayerSide>();
    side->attach(f.device(), f.window(), nullptr);
    takeShownBoxes();
    side->load();
    std::vector<std::string> texts;
    for (const auto& box : takeShownBoxes()) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"mycharロスト", "ＨＰ2画像ロスト"}));
    EXPECT_EQ(side->ship.graphics.quadTexture, nullptr);  // not tried after the mesh
    EXPECT_NE(side->shots.graphics.mesh, nullptr);
    EXPECT_NE(side->hpGauge.frames[3], nullptr);
    EXPECT_EQ(side->hpGauge.frames[1], nullptr);
}
