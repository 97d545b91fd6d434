// The object toolkit: the box test, the play band, the slot helpers and the
// matrix helpers.
#include <gtest/gtest.h>

#include "world/field_object.h"
#include "world/hit_tester.h"

namespace {

Placement box(Real x, Real y, Real z, Real hx, Real hy, Real hz) {
    Placement p;
    p.x = x, p.y = y, p.z = z;
    p.halfX = hx, p.halfY = hy, p.halfZ = hz;
    return p;
}

}  // namespace

TEST(HitTester, BoxesThatOnlyTouchOverlapOnEveryAxis) {
    HitTester t;
    const Placement ship = box(0, 2, -7, 0.5, 0.5, 0.5);
    EXPECT_TRUE(t.boxesOverlap(ship, box(1.5, 2, -7, 1, 1, 2)));   // x faces touch
    EXPECT_TRUE(t.boxesOverlap(ship, box(0, 3.5, -7, 1, 1, 2)));   // y faces touch
    EXPECT_TRUE(t.boxesOverlap(ship, box(0, 2, -4.5, 1, 1, 2)));   // z faces touch
    EXPECT_TRUE(t.boxesOverlap(ship, box(-1.5, 0.5, -9.5, 1, 1, 2)));  // a corner
    EXPECT_FALSE(t.boxesOverlap(ship, box(1.5000001, 2, -7, 1, 1, 2)));
    EXPECT_FALSE(t.boxesOverlap(ship, box(0, 2, -4.4, 1, 1, 2)));
    // Separated on one axis is enough, whichever it is.
    EXPECT_FALSE(t.boxesOverlap(ship, box(0, 2, 50, 1, 1, 2)));
    EXPECT_FALSE(t.boxesOverlap(ship, box(0, 9, -7, 1, 1, 2)));
    EXPECT_FALSE(t.boxesOverlap(ship, box(-9, 2, -7, 1, 1, 2)));
    // The test is symmetric.
    EXPECT_TRUE(t.boxesOverlap(box(1.5, 2, -7, 1, 1, 2), ship));
}

TEST(FieldObject, PlayBandExcludesItsBorders) {
    auto at = [](Real x, Real y) { return box(x, y, 999, 0, 0, 0); };
    EXPECT_TRUE(inPlayBand(at(0, 6)));
    EXPECT_TRUE(inPlayBand(at(7.99, 2.01)));
    EXPECT_FALSE(inPlayBand(at(8, 6)));
    EXPECT_FALSE(inPlayBand(at(-8, 6)));
    EXPECT_FALSE(inPlayBand(at(0, 2)));
    EXPECT_FALSE(inPlayBand(at(0, 10)));
}

TEST(FieldObject, SetPositionLeavesExtentsLinkAndExtra) {
    FieldObject o(2);
    o.setHalfExtents(1, 2, 1, 2);
    o.placements[1].link = 7;
    o.placements[1].extra = 3;
    o.setPosition(1, 4, 5, 6, 1, 1200);
    const Placement& p = o.placements[1];
    EXPECT_EQ(p.x, 4.0);
    EXPECT_EQ(p.z, 6.0);
    EXPECT_EQ(p.cue, 1200);
    EXPECT_EQ(o.isActive(1), 1);
    EXPECT_EQ(o.cueOf(1), 1200);
    EXPECT_EQ(p.halfX, 2.0);
    EXPECT_EQ(p.halfY, 1.0);
    EXPECT_EQ(p.link, 7);
    EXPECT_EQ(p.extra, 3);
    o.setActive(0, 1);
    EXPECT_EQ(o.isActive(1), 0);
}

TEST(FieldObject, ClaimFreeSlotTakesTheFirstFreeOneAmongTheFirst99) {
    FieldObject shots(100);
    shots.setActive(1, 0);
    shots.setActive(1, 1);
    EXPECT_EQ(shots.claimFreeSlot(), 2);
    EXPECT_EQ(shots.placements[2].active, 1);
    EXPECT_EQ(shots.placements[2].y, 1.0);
    EXPECT_EQ(shots.placements[2].z, -50.0);
    // Slot 99 is never handed out: a pool busy up to 98 reports 0, unchanged.
    for (int i = 0; i < 99; ++i) shots.setActive(1, i);
    shots.placements[0].z = 12.0;
    EXPECT_EQ(shots.claimFreeSlot(), 0);
    EXPECT_EQ(shots.placements[0].z, 12.0);
    EXPECT_EQ(shots.placements[99].active, 0);
    // A smaller pool is scanned only to its end.
    FieldObject beams(20);
    for (int i = 0; i < 20; ++i) beams.setActive(1, i);
    EXPECT_EQ(beams.claimFreeSlot(), 0);
}

TEST(MatrixHelpers, WriteOnlyTheNamedElements) {
    platform::D3DXMATRIX m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m(r, c) = static_cast<float>(10 * r + c);
    setTranslationRow(m, -1, -2, -3);
    EXPECT_EQ(m._41, -1.0f);
    EXPECT_EQ(m._42, -2.0f);
    EXPECT_EQ(m._43, -3.0f);
    EXPECT_EQ(m._44, 33.0f);
    EXPECT_EQ(m._11, 0.0f);
    setScaleDiagonal(m, 7, 8, 9);
    EXPECT_EQ(m._11, 7.0f);
    EXPECT_EQ(m._22, 8.0f);
    EXPECT_EQ(m._33, 9.0f);
    EXPECT_EQ(m._12, 1.0f);
    EXPECT_EQ(m._21, 10.0f);
    EXPECT_EQ(m._41, -1.0f);
}
