// EnemyShots: the shared pool of 100 enemy shots, one per shooting unit.
#pragma once

#include "world/field_object.h"

class EnemyShots : public FieldObject {
public:
    EnemyShots() : FieldObject(100) {}
};
