// FieldObject: the base of everything drawn in the field of play: its
// display resources (a GraphicsPart), a fixed pool of Placement slots, the
// number of slots the shared loops walk, the `appeared` flag of the wave
// schedule, and eight virtual operations.
#pragma once

#include <cstdint>
#include <vector>

#include "world/graphics_part.h"
#include "world/placement.h"

class FieldObject {
public:
    explicit FieldObject(int poolSize, int slotCount = -1)
        : placements(static_cast<std::size_t>(poolSize)),
          slotCount(slotCount < 0 ? poolSize : slotCount) {}
    virtual ~FieldObject() = default;

    // The eight operations, in this order; the base versions do nothing.
    virtual void drawSlot(int /*index*/) {}
    virtual void update(int /*action*/, int /*reserved*/, Placement /*player*/) {}
    virtual void moveShots(Placement /*shooter*/, int /*link*/, int /*mode*/) {}
    virtual void drawShots(int /*link*/, int /*extra*/) {}
    virtual void fireFrom(Placement* /*shooter*/, int /*link*/) {}
    virtual void arm(int /*link*/) {}
    virtual void spawnAt(Placement /*where*/) {}
    virtual void reset(int /*difficulty*/) {}

    // Slot helpers.
    void setPosition(int slot, Real x, Real y, Real z, std::uint8_t active, std::int32_t cue);
    void setHalfExtents(int slot, Real halfX, Real halfY, Real halfZ);
    std::uint8_t isActive(int index) const { return placements[index].active; }
    void setActive(std::uint8_t value, int index) { placements[index].active = value; }
    std::int32_t cueOf(int index) const { return placements[index].cue; }
    // First free slot among 0 to 98 (or the pool's end), made active at
    // (0, 1, -50); 0 when none is free.
    int claimFreeSlot();

    GraphicsPart graphics;
    std::vector<Placement> placements;
    std::int32_t slotCount;
    std::uint8_t appeared = 0;
};

// True exactly when -8 < x < 8 and 2 < y < 10 (z is not looked at).
bool inPlayBand(const Placement& p);
