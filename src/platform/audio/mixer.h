// Mixer: every voice of the process summed into one interleaved stereo
// float stream at the device rate. A voice plays one PcmView (resampled when
// its rate differs), starts where its position is, halts in place and ends
// at its last frame; it has a volume with a timed ramp and an optional
// effect. Voices of the music bus are summed and pass through the bus effect
// (the shared reverb) before joining the rest; a peak limiter keeps the sum
// inside full scale. Safe to call from the audio thread and the game's
// threads.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/audio/effect.h"
#include "platform/audio/pcm.h"
#include "platform/audio/peak_limiter.h"
#include "platform/audio/resampler.h"
#include "platform/audio/volume_ramp.h"

namespace platform::audio {

class Mixer {
public:
    enum class Bus { Effects, Music };
    using VoiceId = std::uint32_t;
    static constexpr std::uint32_t minRate = 100, maxRate = 200000;  // of a source

    explicit Mixer(std::uint32_t rate = 44100);
    std::uint32_t rate() const { return rate_; }

    VoiceId createVoice(Bus bus);
    void destroyVoice(VoiceId v);
    // A new source keeps the position (clamped to its length); an empty one,
    // or one whose rate is outside minRate..maxRate, halts the voice.
    void setSource(VoiceId v, PcmView source);
    // Clears the source of every voice whose source is owned by owner.
    void dropSourcesOf(const void* owner);
    void start(VoiceId v, bool loop);           // from the current position
    void halt(VoiceId v);                       // stays where it is
    void setPosition(VoiceId v, std::uint64_t frame);
    std::uint64_t position(VoiceId v) const;    // in the source's frames
    bool playing(VoiceId v) const;
    bool anyPlaying(Bus bus) const;
    // Moves the volume (hundredths of a dB) to level over ms of output time.
    void setVolume(VoiceId v, long level, std::uint32_t ms);
    double volume(VoiceId v) const;             // now, in hundredths of a dB
    void setEffect(VoiceId v, std::unique_ptr<Effect> effect);
    void setBusEffect(Bus bus, std::unique_ptr<Effect> effect);
    // Halts every voice of the bus and silences the tails of its effects.
    void haltBus(Bus bus);
    // The player's volume for a whole bus, a linear factor applied after the
    // voices' own volumes and the bus effect (1: the mix is left untouched).
    void setBusGain(Bus bus, float gain);

    // Renders the next frames (interleaved stereo) into out.
    void mix(float* out, std::size_t frames);
    std::uint64_t framesMixed() const;

private:
    struct Voice {
        Bus bus;
        PcmView source;
        std::uint64_t frame = 0;
        std::uint32_t frac = 0;
        bool playing = false;
        bool loop = false;
        VolumeRamp volume;
        std::unique_ptr<Effect> effect;
    };
    static constexpr std::size_t block = 256;

    void renderVoice(Voice& v, float* out, std::size_t frames);
    const Resampler& resamplerFor(std::uint32_t sourceRate);

    mutable std::mutex mutex_;
    std::uint32_t rate_;
    std::uint64_t mixed_ = 0;
    std::uint64_t musicIdle_ = 0;  // frames since a music voice last played
    VoiceId next_ = 1;
    std::map<VoiceId, Voice> voices_;  // ordered: the mix is the same on every run
    std::unique_ptr<Effect> busEffect_[2];
    float busGain_[2] = {1.f, 1.f};
    PeakLimiter limiter_;
    std::unordered_map<std::uint32_t, std::unique_ptr<Resampler>> resamplers_;
    std::vector<float> voiceBuf_, busBuf_;
};

}  // namespace platform::audio
