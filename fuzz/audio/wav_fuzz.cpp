// libFuzzer target: WAV files as the sound banks and the music loader read them.
#include <unistd.h>

#include "audio_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static audio_inputs::Session session;
    static const std::string scratch = "/tmp/tervo-fuzz-wav-" + std::to_string(getpid()) + ".wav";
    audio_inputs::feedWav(session, data, size, scratch);
    return 0;
}
