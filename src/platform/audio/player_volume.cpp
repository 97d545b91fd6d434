#include "platform/audio/player_volume.h"

#include <algorithm>

#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"

namespace platform::audio {

namespace {

int g_volume[2] = {100, 100};  // VolumeKind order

void apply(VolumeKind kind) {
    if (auto mixer = outputMixer())
        mixer->setBusGain(kind == VolumeKind::music ? Mixer::Bus::Music : Mixer::Bus::Effects,
                          static_cast<float>(g_volume[static_cast<int>(kind)]) / 100.f);
}

}  // namespace

void setPlayerVolumes(int music, int sound) {
    g_volume[0] = std::clamp(music, 0, 100);
    g_volume[1] = std::clamp(sound, 0, 100);
    apply(VolumeKind::music);
    apply(VolumeKind::sound);
}

int playerVolume(VolumeKind kind) { return g_volume[static_cast<int>(kind)]; }

void stepPlayerVolume(VolumeKind kind, int delta) {
    int& v = g_volume[static_cast<int>(kind)];
    v = std::clamp(v + delta, 0, 100);
    apply(kind);
}

}  // namespace platform::audio
