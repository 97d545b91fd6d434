// What every group is built with: its units, wave cues, mesh and failure
// text, and the formation and hit boxes that reset (w) lays out.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "enemies/dodge_group.h"
#include "enemies/formula_groups.h"
#include "enemies/straight_groups.h"
#include "support/device_fixture.h"
#include "support/mini_pack.h"

namespace {

using Position = std::array<double, 3>;

struct GroupCase {
    const char* name;
    std::function<std::unique_ptr<EnemyGroup>()> make;
    const char* mesh;
    const char* failure;
    std::array<int, 5> cues;
    Position half;
    std::vector<Position> formation;
};

template <class G>
std::function<std::unique_ptr<EnemyGroup>()> maker() {
    return [] { return std::make_unique<G>(); };
}

std::vector<Position> column(int units, double x, double y) {
    std::vector<Position> out;
    for (int i = 0; i < units; ++i) out.push_back({x, y, 90.0 + 6 * i});
    return out;
}

std::vector<GroupCase> groups() {
    return {
        {"Dodge", maker<DodgeGroup>(), "x\\teki04.x", "enemy1ロスト", {600, 200, 1200, 2800, 0}, {1, 1, 2},
         {{-5, 5, 100}, {-2, 5, 100}}},
        {"Ring", maker<RingGroup>(), "x\\teki3.x", "enemy2ロスト", {900, 1200, 2000, 2800, 0}, {1, 1, 2},
         column(6, -5, 4)},
        {"Bounce", maker<BounceGroup>(), "x\\teki06.x", "enemy3ロスト", {1200, 1400, 2200, 3000, 0}, {1, 1, 2},
         {{-5, 6, 100}, {-3, 6, 100}, {-1, 6, 100}}},
        {"Weave", maker<WeaveGroup>(), "x\\teki06.x", "enemy5ロスト", {2100, 1400, 2500, 4000, 0}, {1, 1, 2},
         {{-5, 4, 90}, {-5, 4, 96}, {-5, 8, 102}, {-5, 8, 108}}},
        {"Homing", maker<HomingGroup>(), "x\\teki08.x", "Enemy6ロスト", {2500, 1900, 2500, 3300, 0}, {1, 1, 2},
         {{-7, 6, 100}, {-3, 6, 100}, {1, 6, 100}}},
        {"Cross", maker<CrossGroup>(), "x\\teki09.x", "Enemy7ロスト", {2800, 1200, 2200, 2900, 0}, {1, 1, 2},
         {{-6, 6, 100}, {-3, 6, 100}, {0, 6, 100}, {3, 6, 100}, {6, 6, 100}}},
        {"Lissajous", maker<LissajousGroup>(), "x\\teki3.x", "enemy9ロスト", {1500, 700, 1500, 2400, 4400},
         {1, 1, 2}, column(10, -5, 4)},
        {"Rose", maker<RoseGroup>(), "x\\teki06.x", "enemy10ロスト", {3500, 600, 1600, 3000, 4400}, {2, 2, 2},
         column(14, -5, 4)},
        {"Line", maker<LineGroup>(), "x\\teki03.x", "enemy11ロスト", {200, 300, 1300, 2200, 4400}, {2, 2, 2},
         {{-6, 4, 100}, {-2, 4, 100}, {2, 4, 100}, {6, 4, 100}}},
        {"Arch", maker<ArchGroup>(), "x\\teki03.x", "enemy12ロスト", {400, 200, 1200, 3000, 0}, {2, 2, 2},
         {{-5, 1, 100}, {-1, 4, 100}, {3, 4, 100}, {7, 1, 100}}},
    };
}

}  // namespace

TEST(EnemyGroups, ConstructionSetsUnitsCuesAndSpeed) {
    int total = 0;
    for (const GroupCase& c : groups()) {
        SCOPED_TRACE(c.name);
        const auto g = c.make();
        const int units = static_cast<int>(c.formation.size());
        EXPECT_EQ(g->slotCount, units);
        EXPECT_EQ(static_cast<int>(g->placements.size()), units);
        EXPECT_EQ(g->speed, 0.2);
        for (int w = 0; w < 5; ++w) EXPECT_EQ(g->waveCue[w], c.cues[w]) << "wave " << w;
        total += units;
    }
    EXPECT_EQ(total, 55);  // with the warping and patrolling units, 57
}

TEST(EnemyGroups, ResetLaysOutTheFormationInactiveWithTheWavesCue) {
    for (const GroupCase& c : groups()) {
        SCOPED_TRACE(c.name);
        const auto g = c.make();
        for (int w : {0, 2, 4}) {
            if (c.cues[w] == 0) continue;  // a wave the group never has
            for (Placement& p : g->placements) p.active = 1, p.link = 7, p.extra = 3, p.cue = -1;
            g->appeared = 1;
            g->reset(w);
            EXPECT_EQ(g->appeared, 0);
            for (std::size_t i = 0; i < c.formation.size(); ++i) {
                const Placement& p = g->placements[i];
                SCOPED_TRACE(i);
                EXPECT_EQ(p.x, c.formation[i][0]);
                EXPECT_EQ(p.y, c.formation[i][1]);
                EXPECT_EQ(p.z, c.formation[i][2]);
                EXPECT_EQ(p.halfX, c.half[0]);
                EXPECT_EQ(p.halfY, c.half[1]);
                EXPECT_EQ(p.halfZ, c.half[2]);
                EXPECT_EQ(p.active, 0);
                EXPECT_EQ(p.cue, c.cues[w]);
                EXPECT_EQ(p.link, 0);
                EXPECT_EQ(p.extra, 0);
            }
        }
    }
}

TEST(EnemyGroups, EachLoadsItsOwnMeshAndNamesItselfWhenItIsMissing) {
    DeviceFixture f;
    for (const GroupCase& c : groups()) {
        SCOPED_TRACE(c.name);
        const auto g = c.make();
        g->graphics.attach(f.device(), f.window(), nullptr);
        std::filesystem::remove_all(std::filesystem::path(f.dir()) / "x");
        EXPECT_FALSE(g->load());
        const auto boxes = platform::takeShownBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.failure);
        EXPECT_EQ(boxes[0].caption, "メッセージ");
        writeMiniPack(f.dir(), {c.mesh});
        EXPECT_TRUE(g->load());
        EXPECT_NE(g->graphics.mesh, nullptr);
        EXPECT_TRUE(platform::takeShownBoxes().empty());
    }
}
