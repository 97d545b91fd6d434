#include "enemies/patrol_group.h"

#include "platform/crt.h"

namespace {

struct Pair {
    double x, y;
};
// The band's corners, and the leg that starts at each: down the left side,
// right along the bottom, up the right side, left along the top.
constexpr Pair Corners[4] = {{-8.0, 10.0}, {-8.0, 2.0}, {8.0, 2.0}, {8.0, 10.0}};
constexpr Pair Legs[4] = {{-0.3, 0.0}, {0.0, -0.3}, {0.3, 0.0}, {0.0, 0.3}};

bool onSide(Real x) { return x == 8.0 || x == -8.0; }
bool onTopOrBottom(Real y) { return y == 2.0 || y == 10.0; }

}  // namespace

PatrolGroup::PatrolGroup() : EnemyGroup(1, {3100, 800, 2500, 4200}, "x\\teki4.x", "Enemy8ロスト") {}


void PatrolGroup::reset(int wave) {
    placeUnit(0, -8.0, 10.0, 100.0, wave, 1.0, 1.0, 2.0);
    resetDone();
    entrance_ = 1;
    leg_ = 0;
    vx_ = 0.0;
    vy_ = 0.0;
}

void PatrolGroup::takeLeg(int leg) {
    leg_ = leg;
    vx_ = Legs[leg].x;
    vy_ = Legs[leg].y;
}

void PatrolGroup::update(int, int, Placement player) {
    Placement& p = placements[0];
    if (entrance_) {
        if (p.z - player.z < 12.0) entrance_ = 0;
        p.z = p.z - 3.0;
    } else if ((leg_ == 0 || leg_ == 2) && onTopOrBottom(p.y) && player.x - 0.1 < p.x && p.x < player.x + 0.1 &&
               platform::rand() < 0x3FFF) {
        // Dive across the band, away from the edge it runs along.
        vx_ = 0.0;
        vy_ = -0.5;
        if (p.y == 2.0) vy_ = 0.5;
    }
    for (const Pair& c : Corners)
        if (p.x == c.x && p.y == c.y) takeLeg((leg_ + 1) % 4);
    p.x = p.x + vx_;
    if (p.x < -8.0) p.x = -8.0;
    if (p.x > 8.0) p.x = 8.0;
    p.y = p.y + vy_;
    if (p.y < 2.0) p.y = 2.0;
    if (p.y > 10.0) p.y = 10.0;
    // At an edge after a dive, or stopped off the edge it should run along:
    // turn back along the edge the other way.
    if ((onSide(p.x) && !onTopOrBottom(p.y) && vy_ == 0.0) || (!onSide(p.x) && onTopOrBottom(p.y) && vx_ == 0.0))
        takeLeg((leg_ + 2) % 4);
    // The depth holds after the dash-in: the forward step takes this back.
    p.z = p.z + 0.2;
    tail(0);
}
