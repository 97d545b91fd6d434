// EnemyGroup: one wave-borne group of enemy units (a FieldObject whose
// slots are the units), all drawn with one mesh. The groups differ in their
// formation, hit boxes and the movement rule inside update.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "world/field_object.h"

class EnemyGroup : public FieldObject {
public:
    // units: the pool and slotCount; cues: waveCue[0..], the rest 0.
    EnemyGroup(int units, std::initializer_list<std::int32_t> cues, const char* meshPath,
               const char* failureText);
    // Releases the mesh (the guarded release of the toolkit).
    ~EnemyGroup() override { graphics.releaseMesh(); }

    // The load step of the World's loadAll: the group's mesh.
    virtual bool load();
    // The unit at its position, unturned and unscaled.
    void drawSlot(int i) override;

    Real speed = 0.2;               // depth every unit loses each update, after its own move
    std::int32_t waveCue[5] = {};   // the tick at which wave w enters; copied into each cue by reset (w)

protected:
    // The part of reset (w) every group shares: unit i at (x, y, z),
    // inactive, cue waveCue[w], half extents, link 0, extra 0; appeared 0
    // is set by resetDone.
    void placeUnit(int i, Real x, Real y, Real z, int w, Real halfX, Real halfY, Real halfZ);
    void resetDone() { appeared = 0; }
    // The end of a unit's frame, after its own depth change: below z -30 it
    // has flown past and leaves play; then the forward step.
    void tail(int i);

    const char* meshPath_;
    const char* failureText_;
};
