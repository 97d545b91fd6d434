#include "world/update_relay.h"

void UpdateRelay::updateIfLive(FieldObject& object) const {
    for (int i = 0; i < object.slotCount; ++i) {
        if (object.placements[i].active) {
            object.update(action_, 0, player_);
            return;
        }
    }
}

void UpdateRelay::drawActiveSlots(FieldObject& object, int n) {
    for (int i = 0; i < n; ++i)
        if (object.placements[i].active) object.drawSlot(i);
}

void UpdateRelay::driveShots(FieldObject& shooter, FieldObject& shots, int mode) {
    for (int i = 0; i < shooter.slotCount; ++i) {
        Placement& unit = shooter.placements[i];
        const int link = unit.link;
        shots.fireFrom(&unit, link);
        shots.moveShots(unit, link, mode);
        shots.drawShots(link, unit.extra);
    }
}
