#include "platform/audio/pcm.h"

#include <cstring>

namespace platform::audio {

PcmView convertPcm(const WAVEFORMATEX& format, const std::uint8_t* bytes, std::size_t size) {
    PcmView view;
    int bits = format.wBitsPerSample;
    int channels = format.nChannels;
    if (format.wFormatTag != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) || channels <= 0 ||
        format.nSamplesPerSec == 0 || (!bytes && size > 0))
        return view;
    std::size_t frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
    std::size_t frames = size / frameBytes;
    auto data = std::make_shared<std::vector<std::int16_t>>(frames * channels);
    std::int16_t* out = data->data();
    std::size_t count = frames * channels;
    if (bits == 8) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int16_t>((static_cast<int>(bytes[i]) - 128) * 256);
    } else if (count) {
        std::memcpy(out, bytes, count * 2);
    }
    view.samples = out;
    view.frames = frames;
    view.channels = channels;
    view.rate = format.nSamplesPerSec;
    view.owner = std::move(data);
    return view;
}

}  // namespace platform::audio
