// libFuzzer target: Ogg Vorbis streams as the music player decodes and plays them.
#include "audio_inputs.h"

// libvorbisfile 1.3.7 loses 8 bytes when ov_open fails on some damaged
// streams (the library's own error path; the caller gets nothing to free).
// Leaks from inside that library are not reported; every other leak is.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static audio_inputs::Session session;
    audio_inputs::feedOgg(session, data, size);
    return 0;
}
