// The autopilot's decisions: the title menu, and in play a small model of
// the field (straight shots, Boss2's ring, a target) run frame by frame with
// the pilot's keys steering the ship as the game does.
#include <gtest/gtest.h>

#include <cmath>

#include "autopilot/pilot.h"

using namespace autopilot;

namespace {

ViewBox at(double x, double y, double z, double hx, double hy, double hz) {
    ViewBox b;
    b.x = x, b.y = y, b.z = z, b.hx = hx, b.hy = hy, b.hz = hz, b.active = true;
    return b;
}

bool overlaps(const ViewBox& a, const ViewBox& b) {
    return std::fabs(a.x - b.x) <= a.hx + b.hx && std::fabs(a.y - b.y) <= a.hy + b.hy &&
           std::fabs(a.z - b.z) <= a.hz + b.hz;
}

// A field of play in miniature: the ship steers as the game steers it, and
// `move` advances everything else by one frame.
struct Field {
    GameView now, prev;
    Pilot pilot{0};
    std::uint8_t keys = 0;

    Field(double x, double y) {
        now.screen = Screen::Play;
        now.ship = at(x, y, -7, 0.5, 0.5, 0.5);
        now.missileStock = 0;
        prev = now;
    }
    void steer() {
        ViewBox& s = now.ship;
        const int dy = (keys & KeyDown) ? -1 : (keys & KeyUp) ? 1 : 0;
        const int dx = (keys & KeyLeft) ? -1 : (keys & KeyRight) ? 1 : 0;
        const bool canX = dx > 0 ? s.x < 8 : dx < 0 ? s.x > -8 : true;
        const bool canY = dy > 0 ? s.y < 10 : dy < 0 ? s.y > 2 : true;
        if (canX && canY) s.x += 0.2 * dx, s.y += 0.1 * dy;
    }
    // Decides, steers, and reports whether any active shot touches the ship.
    template <typename Move>
    bool frame(Move move) {
        keys = pilot.decide(now, prev, true);
        const GameView seen = now;
        steer();
        bool hit = false;
        for (const ViewBox& s : now.shots) hit |= s.active && overlaps(s, now.ship);
        move(now);
        prev = seen;
        prev.ship = now.ship;
        return hit;
    }
};

}  // namespace

TEST(Pilot, TheTitleIsSetToTheWantedDifficultyBeforeStarting) {
    GameView v;
    v.screen = Screen::Title;
    v.difficulty = 1;  // every title after the first preselects normal
    EXPECT_EQ(Pilot(0).decide(v, v, false), KeyUp);
    EXPECT_EQ(Pilot(2).decide(v, v, false), KeyDown);
    EXPECT_EQ(Pilot(1).decide(v, v, false), KeyFire);
    v.screen = Screen::Story;
    EXPECT_EQ(Pilot(0).decide(v, v, false), KeyFire) << "the story is skipped";
    v.screen = Screen::GameOver;
    EXPECT_EQ(Pilot(0).decide(v, v, false), 0);
}

TEST(Pilot, SidestepsAStreamOfShotsAimedAtTheShip) {
    // Three shots down the ship's line, one after another, each 1 a frame.
    Field f(0, 2);
    for (int i = 0; i < 3; ++i) f.now.shots[i] = at(0, 2, 20 + 25 * i, 2, 1, 2);
    f.prev = f.now;
    for (int i = 0; i < 3; ++i) f.prev.shots[i].z += 1;
    int hits = 0;
    for (int t = 0; t < 110; ++t)
        hits += f.frame([](GameView& v) {
            for (int i = 0; i < 3; ++i) v.shots[i].z -= 1;
        });
    EXPECT_EQ(hits, 0) << "standing still, each of them would hit";
}

TEST(Pilot, LinesUpWithAnEnemyAheadAndFires) {
    Field f(-6, 2);
    f.now.bodies[5] = at(4, 7, 60, 1, 1, 2);
    f.prev = f.now;
    f.prev.bodies[5].z += 0.2;
    for (int t = 0; t < 60; ++t) {
        f.frame([](GameView& v) { v.bodies[5].z -= 0.2; });
        EXPECT_TRUE(f.keys & KeyFire);
    }
    EXPECT_NEAR(f.now.ship.x, 4, 1.0);
    EXPECT_NEAR(f.now.ship.y, 7, 1.0);
}

TEST(Pilot, LaunchesAMissileAtACrowdOnlyWhenOneIsReady) {
    Field f(0, 5);
    for (int i = 0; i < 4; ++i) f.now.bodies[i] = at(2 * i - 3, 6, 40, 1, 1, 2);
    f.now.missileStock = 2;
    f.prev = f.now;
    std::uint8_t keys = f.pilot.decide(f.now, f.prev, true);
    EXPECT_TRUE((keys & KeyMissile) && !(keys & KeyFire));
    f.now.missileInFlight = true;
    keys = f.pilot.decide(f.now, f.prev, true);
    EXPECT_TRUE(!(keys & KeyMissile) && (keys & KeyFire));
    f.now.missileInFlight = false;
    f.now.missileStock = 0;
    EXPECT_FALSE(f.pilot.decide(f.now, f.prev, true) & KeyMissile);
}

TEST(Pilot, KeepsClearOfTheWideningRing) {
    // A ring leaves Boss2 at (2, 6): it turns 0.07 and widens 0.06 a frame
    // while it comes 0.6 nearer; the ship waits where the ring's wall will
    // pass, lined up with a far target that holds it there.
    for (double shipX : {-3.5, 7.5}) {
        Field f(shipX, 6);
        f.now.bodies[0] = f.prev.bodies[0] = at(shipX, 6, 100, 1, 1, 2);
        auto place = [](GameView& v, int frame) {
            const double r = 0.01 + 0.06 * frame, phase = 0.07 * frame;
            for (int i = 0; i < 24; ++i) {
                const double a = i * 0.017453217777777776 * 15 + phase;
                v.shots[GameView::firstRingBeam + i] =
                    at(std::cos(a) * r + 2, std::sin(a) * r + 6, 50 - 0.6 * frame, 2, 1, 2);
            }
        };
        place(f.prev, 0);
        place(f.now, 1);
        int frame = 1, hits = 0;
        while (f.now.shots[GameView::firstRingBeam].z > -20)
            hits += f.frame([&](GameView& v) { place(v, ++frame); });
        EXPECT_EQ(hits, 0) << "from x " << shipX;
    }
}

TEST(Pilot, IgnoresShotsWhileTheShipGlows) {
    // Invulnerable for longer than the shot takes: it keeps lining up instead.
    Field f(0, 2);
    f.now.invulnerableFrames = 100;
    f.now.shots[0] = at(0, 2, 15, 2, 1, 2);
    f.now.bodies[0] = at(0, 2, 80, 1, 1, 2);
    f.prev = f.now;
    f.prev.shots[0].z += 1;
    f.prev.bodies[0].z += 0.2;
    EXPECT_EQ(f.pilot.decide(f.now, f.prev, true), KeyFire);
    f.now.invulnerableFrames = 0;
    EXPECT_NE(f.pilot.decide(f.now, f.prev, true) & (KeyLeft | KeyRight | KeyUp), 0);
}
