// EnemyShots: the shared pool of 100 enemy shots, one per shooting unit.
// Slot L belongs to the unit whose link is L; the World fires, moves and
// draws it for that unit every frame.
#pragma once

#include <array>
#include <cstdint>

#include "world/field_object.h"

class EnemyShots : public FieldObject {
public:
    static constexpr int SlotCount = 100;
    static constexpr std::int32_t FullCooldown = 150;

    EnemyShots();
    ~EnemyShots() override;

    // Start-up: mesh 0 "x\beam4.x", then mesh 1 "x\tama2.x" (not tried if the
    // first fails). False after a failure.
    bool load();
    // Game start: every slot free again; fetches the material array of mesh 0.
    void reset();
    using FieldObject::reset;  // the virtual reset (difficulty) stays empty

    // A unit has just claimed slot L: its first shot waits a full cooldown.
    void arm(int link) override;
    // Fire slot L from the shooter, park it, or release it for a dead shooter.
    void fireFrom(Placement* shooter, int link) override;
    // Modes 1 and 2 move an active slot one unit towards the player.
    void moveShots(Placement shooter, int link, int mode) override;
    // Slot L with mesh `extra` (0 or 1), always lit by mesh 0's materials.
    void drawShots(int link, int extra) override;

    std::int32_t cooldownOf(int link) const { return cooldown_[link]; }

    // The second look (mesh 1); the first lives in `graphics`.
    GraphicsPart secondLook;

private:
    void resetSlots();

    std::array<std::int32_t, SlotCount> cooldown_{};
};
