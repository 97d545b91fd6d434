// libFuzzer target: WAV files as the sound banks and the music loader read them.
#include <unistd.h>

#include "audio_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static audio_inputs::Session session;
    // The bank reads files only: the scratch file goes to memory (/dev/shm)
    // where there is one, which spares a disk write per input.
    static const std::string scratch = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                       "/tervo-fuzz-wav-" + std::to_string(getpid()) + ".wav";
    audio_inputs::feedWav(session, data, size, scratch);
    return 0;
}
