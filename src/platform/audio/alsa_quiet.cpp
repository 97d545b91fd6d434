#include "platform/audio/alsa_quiet.h"

#include <dlfcn.h>

namespace platform::audio {

namespace {

using ErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt, ...);
using SetErrorHandler = int (*)(ErrorHandler);

void silent(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void quietAlsa() {
    // The library stays loaded: SDL opens the same one, and the handler must
    // outlive every call SDL makes into it.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(silent);
}

}  // namespace platform::audio
