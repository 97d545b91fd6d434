// EnemyShots: the life of one unit's shot slot as the World drives it every
// frame (fire, park, release), its cooldown, and how it is drawn and loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "enemies/enemy_shots.h"
#include "platform/gfx/gfx_config.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

using namespace platform;

namespace {

class EnemyShotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fpu::setSinglePrecision(true);
        unit.x = 3.0;
        unit.y = 4.0;
        unit.z = 100.0;
        unit.active = 1;
    }
    void TearDown() override { fpu::setSinglePrecision(false); }

    // The unit enters play: the World claims a slot and arms it.
    int enter(Placement& who) {
        const int link = shots.claimFreeSlot();
        who.link = link;
        shots.arm(link);
        return link;
    }
    // One frame of the World's drive for the unit (drawing left out).
    void drive(Placement& who) {
        const int link = who.link;
        shots.fireFrom(&who, link);
        shots.moveShots(who, link, 1);
    }
    const Placement& slot(int link) const { return shots.placements[link]; }

    EnemyShots shots;
    Placement unit;
};

}  // namespace

TEST_F(EnemyShotsTest, EverySlotStartsFreeBehindThePlayerAndResetFreesThemAgain) {
    auto expectFresh = [&] {
        ASSERT_EQ(shots.slotCount, 100);
        ASSERT_EQ(shots.placements.size(), 100u);
        for (int i = 0; i < 100; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(slot(i).x, 6.0);
            EXPECT_EQ(slot(i).y, 1.0);
            EXPECT_EQ(slot(i).z, -50.0);
            EXPECT_EQ(slot(i).active, 0);
            EXPECT_EQ(slot(i).halfX, 2.0);
            EXPECT_EQ(slot(i).halfY, 1.0);
            EXPECT_EQ(slot(i).halfZ, 2.0);
            EXPECT_EQ(shots.cooldownOf(i), 150);
        }
    };
    expectFresh();
    const int link = enter(unit);
    for (int i = 0; i < 160; ++i) drive(unit);  // fired and flying
    ASSERT_EQ(slot(link).active, 1);
    ASSERT_NE(shots.cooldownOf(link), 150);
    shots.reset();
    expectFresh();
}

TEST_F(EnemyShotsTest, TheFirstShotLeavesOnThe151stFrameFromWhereTheUnitIsThen) {
    const int link = enter(unit);
    EXPECT_EQ(link, 0);
    EXPECT_EQ(slot(link).z, -50.0);
    for (int frame = 1; frame <= 150; ++frame) {
        unit.x = unit.x + 0.01;  // the unit moves on meanwhile
        unit.z = unit.z - 0.2;
        drive(unit);
        ASSERT_EQ(slot(link).z, -51.0) << "frame " << frame;  // parked, moved once
        ASSERT_EQ(slot(link).x, 10.0);
        ASSERT_EQ(shots.cooldownOf(link), 150 - frame);
    }
    const Real x = unit.x, z = unit.z;
    drive(unit);  // frame 151
    EXPECT_EQ(slot(link).x, x);
    EXPECT_EQ(slot(link).y, 4.0);
    EXPECT_EQ(slot(link).z, z - 1.0);
    EXPECT_EQ(slot(link).active, 1);
    EXPECT_EQ(shots.cooldownOf(link), 149);
}

TEST_F(EnemyShotsTest, AShotFromDepth100IsParkedAfter131FramesAndFiresAgain150FramesOnIt) {
    const int link = enter(unit);
    for (int frame = 1; frame <= 150; ++frame) drive(unit);
    drive(unit);  // fired from z 100, moved to 99
    for (int flight = 2; flight <= 131; ++flight) {
        drive(unit);
        ASSERT_EQ(slot(link).z, 100.0 - flight) << "flight frame " << flight;
    }
    EXPECT_EQ(slot(link).z, -31.0);  // past -30: gone, parked on the next fireFrom
    drive(unit);
    EXPECT_EQ(slot(link).x, 10.0);
    EXPECT_EQ(slot(link).z, -51.0);
    EXPECT_EQ(shots.cooldownOf(link), 149 - 131);  // one count a frame since firing
    // Fired on frame 151, next on frame 301.
    for (int frame = 283; frame <= 300; ++frame) drive(unit);
    EXPECT_EQ(slot(link).z, -51.0);
    EXPECT_EQ(shots.cooldownOf(link), 0);
    drive(unit);
    EXPECT_EQ(slot(link).z, 99.0);
    EXPECT_EQ(shots.cooldownOf(link), 149);
}

TEST_F(EnemyShotsTest, ADeadUnitsShotFliesOnAndIsReleasedOncePast30) {
    const int link = enter(unit);
    for (int frame = 1; frame <= 151; ++frame) drive(unit);
    unit.active = 0;  // shot down with its shot in flight
    for (int flight = 2; flight <= 131; ++flight) drive(unit);
    EXPECT_EQ(slot(link).z, -31.0);
    EXPECT_EQ(slot(link).active, 1);  // it could still have hit the player
    EXPECT_EQ(unit.link, link);
    shots.fireFrom(&unit, link);
    EXPECT_EQ(slot(link).active, 0);
    EXPECT_EQ(unit.link, NoLink);
    // A released slot neither moves nor counts down.
    const std::int32_t cooldown = shots.cooldownOf(link);
    shots.moveShots(unit, link, 1);
    shots.fireFrom(&unit, link);
    EXPECT_EQ(slot(link).z, -50.0);
    EXPECT_EQ(shots.cooldownOf(link), cooldown);
}

TEST_F(EnemyShotsTest, ADeadUnitsParkedShotIsReleasedOnTheNextFireFrom) {
    const int link = enter(unit);
    drive(unit);
    unit.active = 0;
    shots.fireFrom(&unit, link);
    EXPECT_EQ(slot(link).active, 0);
    EXPECT_EQ(unit.link, NoLink);
    EXPECT_EQ(shots.cooldownOf(link), 149);
}

TEST_F(EnemyShotsTest, OnlyModes1And2MoveAShot) {
    const int link = enter(unit);
    for (int mode : {0, 3, -1, 99}) {
        shots.moveShots(unit, link, mode);
        EXPECT_EQ(slot(link).z, -50.0) << "mode " << mode;
    }
    shots.moveShots(unit, link, 2);
    EXPECT_EQ(slot(link).z, -51.0);
    shots.moveShots(unit, link, 1);
    EXPECT_EQ(slot(link).z, -52.0);
}

TEST_F(EnemyShotsTest, AReleasedSlotIsClaimedByTheNextUnit) {
    Placement units[3] = {unit, unit, unit};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(enter(units[i]), i);
    units[1].active = 0;
    shots.fireFrom(&units[1], 1);
    ASSERT_EQ(units[1].link, NoLink);
    Placement late = unit;
    EXPECT_EQ(enter(late), 1);
    EXPECT_EQ(slot(1).active, 1);
    EXPECT_EQ(slot(1).z, -50.0);
    EXPECT_EQ(shots.cooldownOf(1), 150);
    EXPECT_EQ(enter(late), 3);  // the others stay taken
}

namespace {

// A second look with one material of its own colour, so that drawing it
// shows whose materials are used.
void writeTama(const std::string& dir) {
    const std::filesystem::path path = std::filesystem::path(dir) / nativePath("x\\tama2.x");
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << R"(xof 0302txt 0032
Mesh {
 3;
 -1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;;
 1;
 3;0,1,2;;
 MeshMaterialList {
  1;
  1;
  0;;
  Material {
   0.0;1.0;0.0;1.0;;
   2.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
}
)";
}

}  // namespace

TEST(EnemyShotsDrawing, EitherMeshIsDrawnAtTheSlotWithTheFirstMeshsMaterials) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\beam4.x"});
    writeTama(f.dir());
    EnemyShots shots;
    shots.graphics.attach(f.device(), f.window(), nullptr);
    ASSERT_TRUE(shots.load());
    EXPECT_TRUE(takeShownBoxes().empty());
    shots.reset();
    const int link = shots.claimFreeSlot();
    shots.arm(link);
    shots.setPosition(link, 2.5, 3.0, 40.0, 1, 0);
    f.device()->BeginScene();

    gfx::setCurrentFrame(1);
    shots.drawShots(link, 0);
    EXPECT_EQ(DeviceFixture::ops(),
              (std::vector<std::string>{"SetTransform", "SetMaterial", "DrawSubset", "SetMaterial", "DrawSubset"}));
    const auto& transform = gfx::frameCalls()[0].args;
    EXPECT_EQ(transform[13], 2.5);
    EXPECT_EQ(transform[14], 3.0);
    EXPECT_EQ(transform[15], 40.0);
    EXPECT_EQ(transform[1], 1.0);  // the rest is the identity set at load
    EXPECT_EQ(transform[2], 0.0);

    gfx::setCurrentFrame(2);
    shots.drawShots(link, 1);
    EXPECT_EQ(DeviceFixture::ops(), (std::vector<std::string>{"SetTransform", "SetMaterial", "DrawSubset"}));
    const auto& material = gfx::frameCalls()[1].args;
    EXPECT_EQ(material[0], 1.0);  // mesh 0's first diffuse (1, 0.5, 0.25), not mesh 1's green
    EXPECT_EQ(material[1], 0.5);

    gfx::setCurrentFrame(3);
    shots.setActive(0, link);
    shots.drawShots(link, 0);
    EXPECT_TRUE(DeviceFixture::ops().empty());
    f.device()->EndScene();
}

TEST(EnemyShotsLoading, AMissingFirstMeshStopsBeforeTheSecond) {
    DeviceFixture f;
    writeTama(f.dir());
    EnemyShots shots;
    shots.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(shots.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "tamaロスト");
    EXPECT_EQ(boxes[0].caption, "メッセージ");
    EXPECT_EQ(shots.secondLook.mesh, nullptr);
}

TEST(EnemyShotsLoading, AMissingSecondMeshIsReportedWithTheSameText) {
    DeviceFixture f;
    writeMiniPack(f.dir(), {"x\\beam4.x"});
    EnemyShots shots;
    shots.graphics.attach(f.device(), f.window(), nullptr);
    EXPECT_FALSE(shots.load());
    const auto boxes = takeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "tamaロスト");
    EXPECT_NE(shots.graphics.mesh, nullptr);
}
