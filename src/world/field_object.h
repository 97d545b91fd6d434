// FieldObject: the base of everything drawn in the field of play: a fixed
// pool of Placement slots, the number of slots the shared loops walk, the
// `appeared` flag of the wave schedule, and eight virtual operations.
#pragma once

#include <cstdint>
#include <vector>

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

    std::vector<Placement> placements;
    std::int32_t slotCount;
    std::uint8_t appeared = 0;
};
