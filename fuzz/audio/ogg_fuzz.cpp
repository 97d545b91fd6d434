// libFuzzer target: Ogg Vorbis streams as the music player decodes and plays them.
#include "audio_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static audio_inputs::Session session;
    audio_inputs::feedOgg(session, data, size);
    return 0;
}
