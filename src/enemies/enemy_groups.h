// The twelve enemy groups of the field, for the World that owns them.
#pragma once

#include "enemies/dodge_group.h"
#include "enemies/formula_groups.h"
#include "enemies/patrol_group.h"
#include "enemies/straight_groups.h"
#include "enemies/warp_group.h"
