#include "platform/audio/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "platform/audio/alsa_quiet.h"
#include "platform/audio/mixer.h"
#include "platform/audio/wav_writer.h"

namespace platform::audio {

namespace {

constexpr std::uint32_t deviceRate = 44100;

struct Output {
    void close();

    std::shared_ptr<Mixer> mixer;
    bool realTime = false;
    bool heard = true;
    bool paused = false;
    SDL_AudioDeviceID device = 0;
    bool sdlAudio = false;          // the SDL audio subsystem is up
    std::uint64_t framesOut = 0;    // virtual: frames mixed since tick 0
    WavWriter wav;
    std::atomic<std::vector<float>*> capture{nullptr};  // also read by the device thread
    std::vector<float> buffer;
};

// Counts opens and closes, so a closed output's clock listener stays silent;
// trivially destructible, so it can still be read while the statics go.
constinit std::atomic<std::uint64_t> g_generation{0};

// Never destroyed: the game's objects and the music decoders reach the
// output until the very end of the process; closeOutput, which runs after
// every one of them is gone, stops the device and drops the mixer.
Output& out() {
    static Output* o = new Output;
    return *o;
}

void deviceCallback(void* user, Uint8* stream, int len) {
    auto* mixer = static_cast<Mixer*>(user);
    auto* samples = reinterpret_cast<float*>(stream);
    std::size_t frames = static_cast<std::size_t>(len) / (2 * sizeof(float));
    mixer->mix(samples, frames);
    if (std::vector<float>* sink = out().capture.load()) sink->insert(sink->end(), samples, samples + 2 * frames);
}

// Mixes the virtual output up to the clock's new time.
void advanceTo(std::uint64_t ticks) {
    Output& o = out();
    std::uint64_t target = ticks * deviceRate / VirtualClock::ticksPerSecond;
    if (!o.heard && !o.capture.load()) {
        o.framesOut = target;  // nobody listens: nothing to mix
        return;
    }
    while (o.mixer && o.framesOut < target) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(target - o.framesOut, 4096));
        o.buffer.resize(2 * n);
        if (o.paused) std::fill(o.buffer.begin(), o.buffer.end(), 0.0f);
        else o.mixer->mix(o.buffer.data(), n);
        o.wav.write(o.buffer.data(), n);
        if (std::vector<float>* sink = o.capture.load()) sink->insert(sink->end(), o.buffer.begin(), o.buffer.end());
        o.framesOut += n;
    }
}

bool openDevice(Output& o) {
    quietAlsa();  // its complaints about a missing card are no use to a player
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // Without a device the subsystem stays up until the output closes:
    // quitting it joins SDL's device-watching thread, which starts with a
    // tenth of a second's sleep, and that would hold up the first frame.
    o.sdlAudio = true;
    auto mixer = std::make_shared<Mixer>(deviceRate);
    SDL_AudioSpec want{}, have{};
    want.freq = static_cast<int>(deviceRate);
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = deviceCallback;
    want.userdata = mixer.get();
    o.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (o.device == 0) return false;
    o.mixer = std::move(mixer);
    o.realTime = true;
    SDL_PauseAudioDevice(o.device, 0);
    return true;
}

}  // namespace

bool openOutput(const OutputConfig& config) {
    closeOutput();
    Output& o = out();
    ++g_generation;
    if (!config.headless) {
        // Without a device the game runs silent.
        if (!openDevice(o)) std::fprintf(stderr, "tervo: no audio device; playing without sound\n");
        return true;
    }
    o.mixer = std::make_shared<Mixer>(deviceRate);
    o.realTime = false;
    o.heard = config.heard || !config.wavOutPath.empty();
    bool written = config.wavOutPath.empty() || o.wav.open(config.wavOutPath, deviceRate, 2);
    if (config.clock) {
        o.framesOut = config.clock->ticks() * deviceRate / VirtualClock::ticksPerSecond;
        std::uint64_t generation = g_generation;
        config.clock->onAdvance([generation](std::uint64_t ticks) {
            if (g_generation == generation) advanceTo(ticks);
        });
    }
    return written;
}

void Output::close() {
    if (device) SDL_CloseAudioDevice(device);  // waits for a running callback
    device = 0;
    if (sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlAudio = false;
    wav.close();
    mixer.reset();
    realTime = false;
    heard = true;
    paused = false;
    capture = nullptr;
    ++g_generation;
}

void closeOutput() { out().close(); }

std::shared_ptr<Mixer> outputMixer() { return out().mixer; }
bool outputIsRealTime() { return out().realTime; }
bool outputIsHeard() { return out().heard || out().capture.load() != nullptr; }
void pauseOutput(bool paused) {
    Output& o = out();
    o.paused = paused;
    if (o.device) SDL_PauseAudioDevice(o.device, paused ? 1 : 0);
}

void captureOutput(std::vector<float>* sink) { out().capture = sink; }

}  // namespace platform::audio
