// SpiralBeams: Boss2's shots. Every 150 frames a ring of 24 beams leaves the
// boss and spirals outwards, widening and turning, as it flies at the player.
#pragma once

#include <cstdint>

#include "audio/sound_bank.h"
#include "world/field_object.h"

class SpiralBeams : public FieldObject {
public:
    static constexpr int poolSize = 24;
    static constexpr std::int32_t volleyPeriod = 150;

    SpiralBeams() : FieldObject(poolSize) { reset(0); }
    ~SpiralBeams() override;

    // Start-up: the sound of a ring leaving, then the beam mesh. False after
    // a failure (already reported).
    bool load();
    void reset(int w) override;

    // The boss has just entered: a full wait before its first ring.
    void arm(int link) override;
    // Counts the wait down; parks beams that have flown past; starts a ring
    // from the shooter when the wait is over.
    void fireFrom(Placement* shooter, int link) override;
    // Turns and widens the ring about its centre while it flies towards -z.
    void moveShots(Placement shooter, int link, int mode) override;
    // Every beam, in flight or parked, with additive light.
    void drawShots(int link, int extra) override;

    std::int32_t beamCount = poolSize;
    std::int32_t cooldown = volleyPeriod;  // frames until the next ring
    Real radius = 0.01;                    // a ring starts at exactly this
    Real phase = 0.0;                      // the ring's turn, radians
    SoundBank sounds{"SpiralBeams"};
};

// Where the current ring is centred: latched from the boss as a ring starts,
// kept for the whole run.
struct RingCentre {
    Real x, y, z;
};
const RingCentre& ringCentre();
