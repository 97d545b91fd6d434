// The player's two volumes, music and sound effects, in percent: set at
// start-up, stepped by the volume keys while playing, and applied to the
// output mixer's buses.
#pragma once

namespace platform::audio {

enum class VolumeKind { music, sound };

void setPlayerVolumes(int music, int sound);
int playerVolume(VolumeKind kind);
// Steps one volume by `delta` percent, kept within 0 to 100.
void stepPlayerVolume(VolumeKind kind, int delta);

}  // namespace platform::audio
