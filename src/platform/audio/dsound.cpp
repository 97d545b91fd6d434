#include "platform/audio/dsound.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"
#include "platform/audio/pcm.h"

namespace platform {

namespace {

using audio::Mixer;

class PrimaryBuffer final : public ComObject<IDirectSoundBuffer> {
public:
    HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Play(DWORD, DWORD, DWORD) override { return DS_OK; }
    HRESULT Stop() override { return DS_OK; }
    HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT GetCurrentPosition(DWORD* p, DWORD* w) override {
        if (p) *p = 0;
        if (w) *w = 0;
        return DS_OK;
    }
    HRESULT GetStatus(DWORD* s) override {
        if (!s) return DSERR_INVALIDPARAM;
        *s = 0;
        return DS_OK;
    }
    HRESULT Restore() override { return DS_OK; }
};

// A static buffer: the bytes in the buffer's own format; each Unlock hands
// the mixer a fresh copy of them as the voice's sound.
class StaticBuffer final : public ComObject<IDirectSoundBuffer> {
public:
    StaticBuffer(std::shared_ptr<Mixer> mixer, const WAVEFORMATEX& format, DWORD bytes)
        : mixer_(std::move(mixer)), format_(format), bytes_(bytes, 0) {
        voice_ = mixer_->createVoice(Mixer::Bus::Effects);
        publish();
    }
    ~StaticBuffer() override { mixer_->destroyVoice(voice_); }

    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags) override {
        DWORD size = static_cast<DWORD>(bytes_.size());
        if (flags & DSBLOCK_ENTIREBUFFER) {
            offset = 0;
            bytes = size;
        }
        if (!part1 || !bytes1 || offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
        DWORD first = std::min(bytes, size - offset);
        *part1 = bytes_.data() + offset;
        *bytes1 = first;
        if (part2) *part2 = first < bytes ? bytes_.data() : nullptr;
        if (bytes2) *bytes2 = first < bytes ? bytes - first : 0;
        if (first < bytes && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
        return DS_OK;
    }

    HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) override {
        auto* begin = bytes_.data();
        auto* end = begin + bytes_.size();
        auto inside = [&](void* p, DWORD n) {
            auto* b = static_cast<std::uint8_t*>(p);
            return !p ? n == 0 : b >= begin && b <= end && n <= static_cast<std::size_t>(end - b);
        };
        if (!inside(part1, bytes1) || !inside(part2, bytes2)) return DSERR_INVALIDPARAM;
        publish();
        return DS_OK;
    }

    HRESULT Play(DWORD, DWORD, DWORD flags) override {
        mixer_->start(voice_, flags & DSBPLAY_LOOPING);
        return DS_OK;
    }
    HRESULT Stop() override {
        mixer_->halt(voice_);
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD bytes) override {
        if (bytes >= bytes_.size()) return DSERR_INVALIDPARAM;
        mixer_->setPosition(voice_, bytes / format_.nBlockAlign);
        return DS_OK;
    }
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
        DWORD at = static_cast<DWORD>(mixer_->position(voice_) * format_.nBlockAlign);
        if (at >= bytes_.size()) at = 0;  // a finished buffer reads as rewound
        if (play) *play = at;
        if (write) *write = at;
        return DS_OK;
    }
    HRESULT GetStatus(DWORD* status) override {
        if (!status) return DSERR_INVALIDPARAM;
        *status = mixer_->playing(voice_) ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    }
    HRESULT Restore() override { return DS_OK; }  // this buffer's memory is never lost

private:
    void publish() { mixer_->setSource(voice_, audio::convertPcm(format_, bytes_.data(), bytes_.size())); }

    std::shared_ptr<Mixer> mixer_;
    WAVEFORMATEX format_;
    std::vector<std::uint8_t> bytes_;
    Mixer::VoiceId voice_ = 0;
};

bool validFormat(const WAVEFORMATEX* f) {
    return f && f->wFormatTag == WAVE_FORMAT_PCM && (f->nChannels == 1 || f->nChannels == 2) &&
           (f->wBitsPerSample == 8 || f->wBitsPerSample == 16) &&
           f->nSamplesPerSec >= DSBFREQUENCY_MIN && f->nSamplesPerSec <= DSBFREQUENCY_MAX &&
           f->nBlockAlign == f->nChannels * f->wBitsPerSample / 8;
}

class Device final : public ComObject<IDirectSound> {
public:
    explicit Device(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}
    ~Device() override {
        if (primary_) primary_->Release();
    }

    HRESULT SetCooperativeLevel(HWND, DWORD level) override {
        return level >= DSSCL_NORMAL && level <= 3 ? DS_OK : DSERR_INVALIDPARAM;
    }
    HRESULT SetSpeakerConfig(DWORD) override { return DS_OK; }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override {
        if (!buffer) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (!desc || outer || (desc->dwSize != DSBUFFERDESC_SIZE && desc->dwSize != sizeof(DSBUFFERDESC)))
            return DSERR_INVALIDPARAM;
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
            if (!primary_) primary_ = new PrimaryBuffer;
            primary_->AddRef();
            *buffer = primary_;
            return DS_OK;
        }
        if (!validFormat(desc->lpwfxFormat) || desc->dwBufferBytes < DSBSIZE_MIN ||
            desc->dwBufferBytes > DSBSIZE_MAX)
            return DSERR_INVALIDPARAM;
        *buffer = new StaticBuffer(mixer_, *desc->lpwfxFormat, desc->dwBufferBytes);
        return DS_OK;
    }

private:
    std::shared_ptr<Mixer> mixer_;
    PrimaryBuffer* primary_ = nullptr;
};

}  // namespace

HRESULT DirectSoundCreate(const GUID*, IDirectSound** out, IUnknown* outer) {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DSERR_INVALIDPARAM;
    auto mixer = audio::outputMixer();
    if (!mixer) return DSERR_NODRIVER;
    *out = new Device(std::move(mixer));
    return DS_OK;
}

}  // namespace platform
