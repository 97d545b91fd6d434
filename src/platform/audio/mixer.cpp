#include "platform/audio/mixer.h"

#include <algorithm>
#include <cstring>

namespace platform::audio {

Mixer::Mixer(std::uint32_t rate) : rate_(rate), limiter_(rate), voiceBuf_(2 * block), busBuf_(2 * block) {}

Mixer::VoiceId Mixer::createVoice(Bus bus) {
    std::lock_guard lock(mutex_);
    VoiceId id = next_++;
    voices_[id].bus = bus;
    return id;
}

void Mixer::destroyVoice(VoiceId v) {
    std::lock_guard lock(mutex_);
    voices_.erase(v);
}

void Mixer::setSource(VoiceId v, PcmView source) {
    // The filter for a new rate is built here, outside the lock, rather than
    // on the audio thread when the sound first plays.
    std::unique_ptr<Resampler> filter;
    if (source.rate != rate_ && source.rate >= minRate && source.rate <= maxRate) {
        std::unique_lock lock(mutex_);
        bool known = resamplers_.count(source.rate) != 0;
        lock.unlock();
        if (!known) filter = std::make_unique<Resampler>(source.rate, rate_);
    }
    std::lock_guard lock(mutex_);
    if (filter && !resamplers_.count(source.rate)) {
        if (resamplers_.size() >= 16) resamplers_.clear();
        resamplers_[source.rate] = std::move(filter);
    }
    auto it = voices_.find(v);
    if (it == voices_.end()) return;
    Voice& voice = it->second;
    voice.source = std::move(source);
    // Rates outside what a sound card ever took are refused: the resampler's
    // filter grows with the ratio.
    if (voice.source.rate < minRate || voice.source.rate > maxRate) voice.source = {};
    if (voice.source.empty()) {
        voice.playing = false;
        voice.frame = 0;
        voice.frac = 0;
    } else if (voice.frame > voice.source.frames) {
        voice.frame = voice.source.frames;
        voice.frac = 0;
    }
}

void Mixer::dropSourcesOf(const void* owner) {
    std::lock_guard lock(mutex_);
    for (auto& [id, voice] : voices_) {
        if (voice.source.owner.get() == owner) {
            voice.source = {};
            voice.playing = false;
            voice.frame = 0;
            voice.frac = 0;
        }
    }
}

void Mixer::start(VoiceId v, bool loop) {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    if (it == voices_.end() || it->second.source.empty()) return;
    it->second.playing = true;
    it->second.loop = loop;
}

void Mixer::halt(VoiceId v) {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    if (it != voices_.end()) it->second.playing = false;
}

void Mixer::setPosition(VoiceId v, std::uint64_t frame) {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    if (it == voices_.end()) return;
    it->second.frame = std::min<std::uint64_t>(frame, it->second.source.frames);
    it->second.frac = 0;
}

std::uint64_t Mixer::position(VoiceId v) const {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    return it == voices_.end() ? 0 : it->second.frame;
}

bool Mixer::playing(VoiceId v) const {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    return it != voices_.end() && it->second.playing;
}

bool Mixer::anyPlaying(Bus bus) const {
    std::lock_guard lock(mutex_);
    for (const auto& [id, voice] : voices_)
        if (voice.bus == bus && voice.playing) return true;
    return false;
}

void Mixer::setVolume(VoiceId v, long level, std::uint32_t ms) {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    if (it == voices_.end()) return;
    std::uint64_t frames = std::uint64_t{ms} * rate_ / 1000;
    it->second.volume.set(level, mixed_, frames);
}

double Mixer::volume(VoiceId v) const {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    return it == voices_.end() ? 0.0 : it->second.volume.levelAt(mixed_);
}

void Mixer::setEffect(VoiceId v, std::unique_ptr<Effect> effect) {
    std::lock_guard lock(mutex_);
    auto it = voices_.find(v);
    if (it != voices_.end()) it->second.effect = std::move(effect);
}

void Mixer::setBusEffect(Bus bus, std::unique_ptr<Effect> effect) {
    std::lock_guard lock(mutex_);
    busEffect_[static_cast<int>(bus)] = std::move(effect);
    if (bus == Bus::Music) musicIdle_ = 4 * rate_;
}

void Mixer::haltBus(Bus bus) {
    std::lock_guard lock(mutex_);
    for (auto& [id, voice] : voices_) {
        if (voice.bus != bus) continue;
        voice.playing = false;
        if (voice.effect) voice.effect->reset();
    }
    if (auto& fx = busEffect_[static_cast<int>(bus)]) fx->reset();
    if (bus == Bus::Music) musicIdle_ = 4 * rate_;
}

void Mixer::setBusGain(Bus bus, float gain) {
    std::lock_guard lock(mutex_);
    busGain_[static_cast<int>(bus)] = gain;
}

std::uint64_t Mixer::framesMixed() const {
    std::lock_guard lock(mutex_);
    return mixed_;
}

const Resampler& Mixer::resamplerFor(std::uint32_t sourceRate) {
    // A game uses a handful of rates; a bad file's odd rate must not make
    // the cache grow without end.
    if (resamplers_.size() >= 16 && !resamplers_.count(sourceRate)) resamplers_.clear();
    auto& r = resamplers_[sourceRate];
    if (!r) r = std::make_unique<Resampler>(sourceRate, rate_);
    return *r;
}

void Mixer::renderVoice(Voice& v, float* out, std::size_t frames) {
    const PcmView& src = v.source;
    const bool sameRate = src.rate == rate_;
    const Resampler* resampler = sameRate ? nullptr : &resamplerFor(src.rate);
    const int second = src.channels > 1 ? 1 : 0;
    const bool steady = v.volume.constantFrom(mixed_);
    const float steadyGain = v.volume.gainAt(mixed_);
    for (std::size_t i = 0; i < frames; ++i) {
        if (v.frame >= src.frames) {
            if (!v.loop) {
                v.playing = false;
                break;
            }
            v.frame = 0;
            v.frac = 0;
        }
        float l, r;
        if (sameRate) {
            const std::int16_t* s = src.samples + v.frame * src.channels;
            l = s[0] * (1.0f / 32768.0f);
            r = s[second] * (1.0f / 32768.0f);
            ++v.frame;
        } else {
            resampler->read(src, v.frame, v.frac, l, r);
            std::uint64_t next = std::uint64_t{v.frac} + resampler->step();
            v.frame += next >> 32;
            v.frac = static_cast<std::uint32_t>(next);
        }
        float g = steady ? steadyGain : v.volume.gainAt(mixed_ + i);
        out[2 * i] = l * g;
        out[2 * i + 1] = r * g;
    }
}

void Mixer::mix(float* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    while (frames > 0) {
        std::size_t n = std::min(frames, block);
        std::fill(out, out + 2 * n, 0.f);
        std::fill(busBuf_.begin(), busBuf_.end(), 0.f);
        bool musicFed = false;
        for (auto& [id, voice] : voices_) {
            if (!voice.playing) continue;
            if (voice.bus == Bus::Music) musicFed = true;
            std::fill(voiceBuf_.begin(), voiceBuf_.end(), 0.f);
            renderVoice(voice, voiceBuf_.data(), n);
            if (voice.effect) voice.effect->process(voiceBuf_.data(), n);
            float* dest = voice.bus == Bus::Music ? busBuf_.data() : out;
            for (std::size_t i = 0; i < 2 * n; ++i) dest[i] += voiceBuf_[i];
        }
        // A room left silent for a few seconds has decayed to nothing; it
        // then skips its work until music plays again.
        musicIdle_ = musicFed ? 0 : musicIdle_ + n;
        if (auto& fx = busEffect_[static_cast<int>(Bus::Music)]; fx && musicIdle_ < 4 * rate_)
            fx->process(busBuf_.data(), n);
        // Only the effects bus has been summed into out so far.
        if (const float g = busGain_[static_cast<int>(Bus::Effects)]; g != 1.f)
            for (std::size_t i = 0; i < 2 * n; ++i) out[i] *= g;
        if (const float g = busGain_[static_cast<int>(Bus::Music)]; g != 1.f)
            for (std::size_t i = 0; i < 2 * n; ++i) busBuf_[i] *= g;
        for (std::size_t i = 0; i < 2 * n; ++i) out[i] += busBuf_[i];
        limiter_.process(out, n);
        mixed_ += n;
        out += 2 * n;
        frames -= n;
    }
}

}  // namespace platform::audio
