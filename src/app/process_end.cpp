#include "app/process_end.h"

#include "platform/backend.h"

ProcessEnd::~ProcessEnd() {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) (*it)();
    platform::releaseBackend();
}
