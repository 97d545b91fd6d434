#include "player/player_ship.h"

#include "world/world.h"

using namespace platform;

namespace {

// The exhaust flicker, shared by every draw of the run.
Real flameScale_ = 1.0;
std::int32_t flameCounter_ = 0;


// The band the ship flies in.
constexpr double Top = 10.0, Bottom = 2.0, Right = 8.0, Left = -8.0;
constexpr double RollStep = 0.08;
constexpr double FullTurn = 6.28;

constexpr std::int32_t Fire = 5;
constexpr std::int32_t ShotCooldown = 20;

}  // namespace

Real flameScale() { return flameScale_; }
std::int32_t flameCounter() { return flameCounter_; }

PlayerShip::PlayerShip() : FieldObject(1) { reset(0); }

PlayerShip::~PlayerShip() {
    graphics.releaseMesh();
    graphics.releaseQuad();
}

bool PlayerShip::load() {
    if (graphics.createQuadBuffer()) {
        writeSquare(graphics.quadBuffer, 0.7f);
    }
    if (!graphics.loadMesh("x\\mychar.x", "mycharロスト")) return false;
    return graphics.loadTexture("t\\bakuha.png", 0xFF000000, "bakuhaロスト", &graphics.quadTexture);
}

void PlayerShip::reset(int) {
    setPosition(0, 0.0, 2.0, -7.0, 1, 0);
    setHalfExtents(0, 0.5, 0.5, 0.5);
    roll = 0.0;
    speedX = 0.2;
    speedY = 0.1;
    drawInvulnerable = 0;
    drawHitPoints = 0;
}

bool PlayerShip::steer(std::int32_t direction, std::int32_t, World& world) {
    // The stage clock stands still while the second boss is in play.
    if (!world.boss2.placements[0].active) world.clock.advance();

    // Each direction rolls the ship whether or not it can move; the edges
    // are tested on the position before the move, and a diagonal moves on
    // both axes or on neither.
    Placement& p = placements[0];
    bool up = false, down = false, right = false, left = false;
    switch (direction) {
    case 1: up = true; break;
    case 2: down = true; break;
    case 3: right = true; break;
    case 4: left = true; break;
    case 6: up = right = true; break;
    case 7: up = left = true; break;
    case 8: down = right = true; break;
    case 9: down = left = true; break;
    default: break;
    }
    bool moved = false;
    if (up || down || right || left) {
        // Down and every move to the right roll one way, up and every move
        // to the left the other.
        const bool clockwise = direction == 2 || direction == 3 || direction == 6 || direction == 8;
        roll = clockwise ? roll - RollStep : roll + RollStep;
        const bool canY = !(up || down) || (up ? p.y < Top : p.y > Bottom);
        const bool canX = !(right || left) || (right ? p.x < Right : p.x > Left);
        if (canY && canX) {
            if (up) p.y = p.y + speedY;
            if (down) p.y = p.y - speedY;
            if (right) p.x = p.x + speedX;
            if (left) p.x = p.x - speedX;
            moved = true;
        }
    } else if (roll > RollStep) {
        roll = roll - RollStep;
    } else if (roll < -RollStep) {
        roll = roll + RollStep;
    }

    world.relay.storePlayer(p);

    // One full turn, and the angle starts over.
    if (roll > FullTurn || roll < -FullTurn) roll = 0.0;
    return moved;  // the caller does not use it
}

void PlayerShip::setStatus(std::int32_t invulnerable, std::int32_t hitPoints) {
    drawInvulnerable = invulnerable;
    drawHitPoints = hitPoints;
}

void PlayerShip::drawSlot(int) {
    IDirect3DDevice9* device = graphics.device;
    const Placement& p = placements[0];
    const float x = p.x.toFloat(), y = p.y.toFloat(), z = p.z.toFloat();
    D3DXMATRIX& world = graphics.worldMatrix;
    D3DXMatrixRotationZ(&world, roll.toFloat());
    setTranslationRow(world, x, y, z);
    // The glow sits 3 units behind the ship, turned with it and scaled by
    // the flicker in its own plane.
    exhaustMatrix = world;
    setTranslationRow(exhaustMatrix, x, y, (p.z - 3.0).toFloat());
    setScaleDiagonal(exhaustMatrix, flameScale_.toFloat(), flameScale_.toFloat(), 1.0f);

    device->SetTransform(D3DTS_WORLD, &world);
    if (drawInvulnerable > 0) {
        // Additive for the whole invulnerable time.
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        graphics.drawMesh();
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    } else {
        graphics.drawMesh();
    }

    device->SetTransform(D3DTS_WORLD, &exhaustMatrix);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    graphics.drawQuad();
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    // A six-frame flicker, smaller on the last hit point; the new scale
    // serves the next draw.
    flameCounter_ += 1;
    if (flameCounter_ == 1 || flameCounter_ == 2) flameScale_ = drawHitPoints == 1 ? 0.6 : 1.1;
    if (flameCounter_ == 4 || flameCounter_ == 5) flameScale_ = drawHitPoints == 1 ? 0.5 : 1.0;
    if (flameCounter_ == 6) flameCounter_ = 0;
}

PlayerShots::PlayerShots() : FieldObject(3) { reset(0); }

PlayerShots::~PlayerShots() { graphics.releaseMesh(); }

bool PlayerShots::load() { return graphics.loadMesh("x\\beam3.x", "tamaロスト"); }

void PlayerShots::reset(int) {
    for (int i = 0; i < 3; ++i) {
        setPosition(i, 50.0, 1.0, 0.0, 0, 0);
        setHalfExtents(i, 1.0, 1.0, 1.0);
    }
    shotCooldown = 0;
}

void PlayerShots::update(int action, int, Placement ship) {
    for (int i = 0; i < 3; ++i) {
        Placement& shot = placements[i];
        if (shot.active) shot.z = shot.z + 1.5;
        if (shot.z > 100.0) shot.active = 0;
        // One shot leaves per frame at most; the later slots then wait a
        // frame before they move on.
        if (action == Fire && !shot.active && shotCooldown == 0) {
            shot.x = ship.x;
            shot.y = ship.y;
            shot.z = ship.z;
            shot.active = 1;
            shotCooldown = ShotCooldown;
            break;
        }
    }
    if (shotCooldown > 0) --shotCooldown;
}

void PlayerShots::drawSlot(int index) {
    IDirect3DDevice9* device = graphics.device;
    const Placement& shot = placements[index];
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    // Drawn 5 units ahead of the slot.
    setTranslationRow(graphics.worldMatrix, shot.x.toFloat(), shot.y.toFloat(), (shot.z + 5.0).toFloat());
    device->SetTransform(D3DTS_WORLD, &graphics.worldMatrix);
    graphics.drawMesh();
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}
