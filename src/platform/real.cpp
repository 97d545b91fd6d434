#include "platform/real.h"

namespace fpu {
bool singlePrecision = false;
}
