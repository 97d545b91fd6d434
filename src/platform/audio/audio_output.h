// The process's one audio output: the SDL audio device, or in headless runs
// a virtual output mixed as the virtual clock advances (and written to a WAV
// file when asked). Sound and music objects reach the mixer through it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace platform::audio {

class Mixer;

struct OutputConfig {
    bool headless = false;
    platform::VirtualClock* clock = nullptr;
    std::string wavOutPath;
    // Headless only: false when nothing will ever hear the mix (no WAV file,
    // no capture). Such an output mixes nothing, and music starts without
    // waiting for its decoding; the game cannot tell the difference.
    bool heard = true;
};

// Called once before the game starts. Real: opens the default device at
// 44.1 kHz stereo; when that fails the game runs silent (no mixer).
// Headless: the mixer runs in step with config.clock, deterministically.
// Returns false only when the WAV file asked for cannot be created.
bool openOutput(const OutputConfig& config);
// Called at the very end of the process, after every sound and music object
// is gone and the music decoders have stopped; finishes the WAV file. The
// output itself is never destroyed, so nothing can reach a dead one.
void closeOutput();

// The mixer of the open output, or null when there is none.
std::shared_ptr<Mixer> outputMixer();
// True when the output is a device playing in real time (not virtual).
bool outputIsRealTime();
// True unless the output is a virtual one that nobody hears (see
// OutputConfig::heard) and nothing is being captured.
bool outputIsHeard();
// Holds or resumes the output (the game's pause). Held, nothing is mixed:
// the device plays silence and every voice keeps its place; a virtual output
// writes silence for the held time.
void pauseOutput(bool paused);
// From now on appends every mixed frame (interleaved stereo) to sink; null
// stops; closeOutput stops too. With a device, read sink after closeOutput.
void captureOutput(std::vector<float>* sink);

}  // namespace platform::audio
