// The World on a headless device: the wave schedule by difficulty, re-arming
// a cleared group only once its shots are gone, the clock standing still
// while Boss2 is in play, and the hit scan of shots and missile.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gfx/gfx_config.h"
#include "player/player_side.h"
#include "support/device_fixture.h"
#include "world/world.h"

using namespace platform;

namespace {

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        world_ = std::make_unique<World>();
        world_->attachAll(fixture_.device(), fixture_.window(), nullptr);
    }
    void start(int difficulty) {
        world_->reset(difficulty);
        world_->setDifficulty(difficulty);
    }
    // One playing frame as the game runs it: the ship's steering moves the
    // clock (the ship stays far from every enemy), then the World's frame.
    void frame() {
        gfx::setCurrentFrame(++frames_);
        ship_.steer(0, 0, *world_);
        world_->frame();
    }
    // Runs frames until the clock reads `tick` (or nothing advances it).
    void runTo(int tick) {
        while (world_->clock.tick < tick) frame();
    }
    World& w() { return *world_; }

    DeviceFixture fixture_;
    std::unique_ptr<World> world_;
    PlayerShip ship_;
    std::uint64_t frames_ = 0;
};

}  // namespace

TEST_F(WorldTest, OnEasyEveryGroupEntersOnceAtItsFirstCue) {
    ship_.placements[0].y = -100.0;  // out of every dodge's reach
    start(0);
    std::vector<int> firstSeen(World::groupCount, -1), timesEntered(World::groupCount, 0);
    std::vector<std::uint8_t> wasActive(World::groupCount, 0);
    while (w().clock.tick < 4400) {
        frame();
        for (int k = 0; k < World::groupCount; ++k) {
            const std::uint8_t active = w().group(k).placements[0].active;
            if (active && !wasActive[k]) {
                if (firstSeen[k] < 0) firstSeen[k] = w().clock.tick;
                ++timesEntered[k];
            }
            wasActive[k] = active;
        }
    }
    for (int k = 0; k < World::groupCount; ++k) {
        EXPECT_EQ(firstSeen[k], w().group(k).waveCue[0]) << "group " << k;
        EXPECT_EQ(timesEntered[k], 1) << "group " << k;
        EXPECT_EQ(w().group(k).placements[0].cue, w().group(k).waveCue[0]) << "never re-armed: group " << k;
    }
}

TEST_F(WorldTest, NormalStartsWithTheSecondCueAndReArmsClearedGroupsWithWaveThree) {
    ship_.placements[0].y = -100.0;
    start(1);
    // The straight line (group 10): in at 300, gone by about 625, then wave 3 at 2200.
    EnemyGroup& line = w().group(10);
    runTo(300);
    EXPECT_EQ(line.placements[0].active, 1);
    EXPECT_EQ(w().lastCue[10], 300);
    runTo(1300);
    EXPECT_EQ(line.placements[0].active, 0) << "normal skips wave 2";
    EXPECT_EQ(line.placements[0].cue, line.waveCue[3]);
    runTo(2200);
    EXPECT_EQ(line.placements[0].active, 1);
}

TEST_F(WorldTest, HardRunsWavesTwoThreeAndFour) {
    ship_.placements[0].y = -100.0;
    start(2);
    EnemyGroup& line = w().group(10);
    for (int wave : {1, 2, 3, 4}) {
        runTo(line.waveCue[wave]);
        EXPECT_EQ(line.placements[0].active, 1) << "wave " << wave;
        EXPECT_EQ(line.placements[0].cue, line.waveCue[wave]) << "wave " << wave;
    }
}

TEST_F(WorldTest, AGroupIsNotReArmedWhileADeadUnitsShotIsStillFlying) {
    ship_.placements[0].y = -100.0;
    start(1);
    EnemyGroup& line = w().group(10);
    runTo(300 + 155);  // every unit has fired once (151 frames after entering)
    const int link = line.placements[0].link;
    ASSERT_GE(w().enemyShots.placements[link].z, -30.0) << "the shot is in flight";
    for (auto& unit : line.placements) unit.active = 0;  // shot down
    int released = -1;
    while (w().clock.tick < 1000 && released < 0) {
        frame();
        if (line.placements[0].cue == line.waveCue[3]) released = w().clock.tick;
        else
            EXPECT_EQ(line.placements[0].cue, 300) << "re-armed with a shot still flying";
    }
    ASSERT_GT(released, 0);
    // The shot flew on at one unit a frame from where it was, past -30.
    EXPECT_LT(w().enemyShots.placements[link].z, -30.0);
    EXPECT_EQ(w().enemyShots.placements[link].active, 0);
}

TEST_F(WorldTest, TheClockStandsStillWhileBoss2IsInPlay) {
    start(0);
    frame();
    const int tick = w().clock.tick;
    w().boss2.placements[0].active = 1;
    for (int i = 0; i < 10; ++i) ship_.steer(0, 0, *world_);
    EXPECT_EQ(w().clock.tick, tick);
    w().boss2.placements[0].active = 0;
    ship_.steer(0, 0, *world_);
    EXPECT_EQ(w().clock.tick, tick + 1);
}

TEST_F(WorldTest, TheFirstBossDropsInAndHangsUntilItsTimerRunsOut) {
    start(0);
    w().clock.tick = 4999;
    frame();  // the clock reads 5000: Boss enters
    EXPECT_EQ(w().boss.placements[0].active, 1);
    EXPECT_EQ(w().boss.placements[0].y, 100.0);
    EXPECT_EQ(w().boss.entranceTimer, 940);
    EXPECT_EQ(w().boss.appeared, 0);
    EXPECT_EQ(w().lastCue[12], 5000);
    w().boss.entranceTimer = 781;  // its own update counts it down to 780
    w().frame();
    EXPECT_EQ(w().boss.entranceTimer, 780);
    EXPECT_EQ(w().boss.placements[0].y, 5.0);
}

namespace {

Placement at(double x, double y, double z, double half = 0.5) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    p.halfX = p.halfY = p.halfZ = half;
    p.active = 1;
    return p;
}

// Puts unit i of group k in play at (x, y, z).
void place(World& w, int k, int i, double x, double y, double z) {
    Placement& u = w.group(k).placements[i];
    u.x = x, u.y = y, u.z = z;
    u.active = 1;
}

}  // namespace

TEST_F(WorldTest, AShotDestroysOnlyTheFirstEnemyInGroupOrder) {
    start(0);
    place(w(), 2, 0, 0.0, 5.0, 20.0);
    place(w(), 0, 1, 0.0, 5.0, 20.0);  // group 0 comes first
    Placement shots[3] = {at(0.0, 5.0, 20.0), at(9.0, 9.0, 90.0), at(0.0, 5.0, 20.0)};
    shots[2].active = 0;  // not in flight
    w().checkShots(shots, 1);
    EXPECT_EQ(shots[0].active, 0) << "used up";
    EXPECT_EQ(w().group(0).placements[1].active, 0);
    EXPECT_EQ(w().group(2).placements[0].active, 1);
    EXPECT_EQ(shots[1].active, 1) << "missed";
    EXPECT_EQ(w().scoreBoard.total, 10000);
    EXPECT_EQ(w().shotBlast.placements[0].active, 1);
    EXPECT_EQ(w().shotBlast.placements[0].z, 20.0);
    // With the player's ship gone, no shot is tested.
    Placement late[3] = {at(0.0, 5.0, 20.0), at(0, 0, 0), at(0, 0, 0)};
    w().checkShots(late, 0);
    EXPECT_EQ(late[0].active, 1);
    EXPECT_EQ(w().group(2).placements[0].active, 1);
}

TEST_F(WorldTest, TheMissileKillsAcrossGroupsUntilTenAndTheCountCarriesOver) {
    start(0);
    w().missileHits = 0;
    // Six units of the ring and six of the rose, all at the missile.
    for (int i = 0; i < 6; ++i) place(w(), 1, i, 0.0, 5.0, 30.0);
    for (int i = 0; i < 6; ++i) place(w(), 9, i, 0.0, 5.0, 30.0);
    Placement missile = at(0.0, 5.0, 30.0);
    std::uint8_t inFlight = 1;
    w().checkMissile(&missile, &inFlight);
    int killed = 0;
    for (int k : {1, 9})
        for (int i = 0; i < 6; ++i) killed += w().group(k).placements[i].active == 0;
    // Six in the ring, four in the rose make ten: the rose's test ends there.
    EXPECT_EQ(killed, 10);
    EXPECT_EQ(missile.active, 0);
    EXPECT_EQ(inFlight, 0);
    EXPECT_EQ(w().missileHits, 0) << "cleared on reaching ten";
    // Two rose units are left; a new missile meets them after a count of 9
    // carried over from earlier missiles (and games).
    w().missileHits = 9;
    Placement second = at(0.0, 5.0, 30.0);
    w().checkMissile(&second, &inFlight);
    EXPECT_EQ(second.active, 0) << "ended after one kill of its own";
}

TEST_F(WorldTest, AMissileThatReachesTenIsStillTestedAgainstTheLaterGroups) {
    start(0);
    w().missileHits = 8;
    for (int i = 0; i < 6; ++i) place(w(), 1, i, 0.0, 5.0, 30.0);
    for (int i = 0; i < 6; ++i) place(w(), 9, i, 0.0, 5.0, 30.0);
    Placement missile = at(0.0, 5.0, 30.0);
    std::uint8_t inFlight = 1;
    w().checkMissile(&missile, &inFlight);
    auto killedIn = [&](int k) {
        int n = 0;
        for (int i = 0; i < 6; ++i) n += w().group(k).placements[i].active == 0;
        return n;
    };
    // Two ring units make ten and end the ring's test; the rose is tested
    // all the same and its first unit falls before its test ends too.
    EXPECT_EQ(killedIn(1), 2);
    EXPECT_EQ(killedIn(9), 1);
    EXPECT_EQ(inFlight, 0);
    EXPECT_EQ(w().missileHits, 0);
}

TEST_F(WorldTest, AMissileWithNothingInPlayEndsWithABlastWhereItIs) {
    start(0);
    Placement missile = at(3.0, 4.0, 12.0);
    std::uint8_t inFlight = 1;
    w().checkMissile(&missile, &inFlight);
    EXPECT_EQ(inFlight, 0);
    const Placement& blast = w().missileBlast.placements[0];
    EXPECT_EQ(blast.active, 1);
    EXPECT_EQ(blast.x, 3.0);
    EXPECT_EQ(blast.z, 12.0);
    // With one enemy in play somewhere else it flies on.
    place(w(), 10, 0, -6.0, 4.0, 90.0);
    Placement again = at(3.0, 4.0, 12.0);
    inFlight = 1;
    w().checkMissile(&again, &inFlight);
    EXPECT_EQ(inFlight, 1);
}

TEST_F(WorldTest, AHitOnABossCostsOneHitPointWithTheBlastAtTheShot) {
    start(0);
    w().boss.placements[0].active = 1;
    w().boss.hitPoints = 2;
    Placement shots[3] = {at(1.0, 5.0, 46.0), at(0, 0, 0), at(0, 0, 0)};
    shots[1].active = shots[2].active = 0;
    w().checkShots(shots, 1);
    EXPECT_EQ(shots[0].active, 0);
    EXPECT_EQ(w().boss.hitPoints, 1);
    EXPECT_EQ(w().bossBeams.bossHitPoints, 1);
    EXPECT_EQ(w().shotBlast.placements[0].x, 1.0) << "at the shot, not at the boss";
    shots[0].active = 1;
    w().checkShots(shots, 1);
    EXPECT_EQ(w().boss.hitPoints, 0);
    EXPECT_EQ(w().boss.placements[0].active, 0);
    EXPECT_EQ(w().scoreBoard.hits, 1) << "the boss's fall counts as a kill";
}
