// UpdateRelay: carries the player's Placement and the frame's action code to
// the objects it drives, and owns the per-object loops of the field: update
// when live, draw the active slots, and drive one shooter's shots.
#pragma once

#include <cstdint>

#include "world/field_object.h"

class UpdateRelay : public FieldObject {
public:
    UpdateRelay() : FieldObject(0) {}

    void storePlayer(const Placement& p) { player_ = p; }
    void setInput(std::int32_t action) { action_ = action; }
    const Placement& player() const { return player_; }
    std::int32_t action() const { return action_; }

    // update (action, 0, player) once when one of its first slotCount slots is active.
    void updateIfLive(FieldObject& object) const;
    // drawSlot (i) for every active slot i below n.
    static void drawActiveSlots(FieldObject& object, int n);
    // For each shooter slot: fire, move and draw the shot of its link.
    static void driveShots(FieldObject& shooter, FieldObject& shots, int mode);

private:
    Placement player_;
    std::int32_t action_ = 0;
};
