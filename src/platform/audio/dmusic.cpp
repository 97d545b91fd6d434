#include "platform/audio/dmusic.h"

#include <limits>
#include <memory>

#include "platform/audio/audio_output.h"
#include "platform/audio/chorus.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mmio.h"
#include "platform/audio/pcm.h"
#include "platform/audio/reverb.h"

namespace platform {

namespace {

using audio::Mixer;

// A segment's sound: the samples of a WAV image, read in place when they are
// 16-bit and aligned, else widened into a copy.
class Segment final : public ComObject<IDirectMusicSegment8> {
public:
    Segment(std::shared_ptr<Mixer> mixer, audio::PcmView pcm) : mixer_(std::move(mixer)), pcm_(std::move(pcm)) {
        anchor_ = pcm_.owner ? pcm_.owner : std::make_shared<char>(0);
        pcm_.owner = anchor_;
    }
    ~Segment() override { mixer_->dropSourcesOf(anchor_.get()); }

    HRESULT Download(IUnknown* performance) override {
        if (!performance) return E_POINTER;
        downloaded_ = true;
        return S_OK;
    }
    HRESULT Unload(IUnknown* performance) override {
        if (!performance) return E_POINTER;
        mixer_->dropSourcesOf(anchor_.get());
        downloaded_ = false;
        return S_OK;
    }
    bool downloaded() const { return downloaded_; }
    const audio::PcmView& pcm() const { return pcm_; }

private:
    std::shared_ptr<Mixer> mixer_;
    audio::PcmView pcm_;
    std::shared_ptr<const void> anchor_;
    bool downloaded_ = false;
};

// Reads the "fmt " and "data" chunks of a RIFF WAVE image; every size is
// checked against the memory.
bool readImage(const std::uint8_t* data, std::int64_t length, audio::PcmView& pcm) {
    if (!data || length < 12 || length > std::numeric_limits<LONG>::max()) return false;
    MMIOINFO info;
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<const char*>(data);
    info.cchBuffer = static_cast<LONG>(length);
    HMMIO h = mmioOpenA(nullptr, &info, MMIO_READ);
    if (!h) return false;
    MMCKINFO riff, fmt, chunk;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    WAVEFORMATEX format{};
    bool ok = mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
              mmioDescend(h, &fmt, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && fmt.cksize >= 16 &&
              mmioRead(h, reinterpret_cast<char*>(&format), 16) == 16 &&
              mmioAscend(h, &fmt, 0) == MMSYSERR_NOERROR &&
              mmioDescend(h, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR &&
              std::uint64_t{chunk.dwDataOffset} + chunk.cksize <= static_cast<std::uint64_t>(length);
    mmioClose(h, 0);
    if (!ok || format.wFormatTag != WAVE_FORMAT_PCM || format.nChannels == 0 ||
        format.nSamplesPerSec < Mixer::minRate || format.nSamplesPerSec > Mixer::maxRate)
        return false;
    const std::uint8_t* samples = data + chunk.dwDataOffset;
    if (format.wBitsPerSample == 16 && reinterpret_cast<std::uintptr_t>(samples) % 2 == 0) {
        pcm.samples = reinterpret_cast<const std::int16_t*>(samples);
        pcm.channels = format.nChannels;
        pcm.frames = chunk.cksize / (2u * format.nChannels);
        pcm.rate = format.nSamplesPerSec;
        return true;
    }
    pcm = audio::convertPcm(format, samples, chunk.cksize);
    return pcm.samples != nullptr;
}

class PathBuffer final : public ComObject<IDirectSoundBuffer8> {
public:
    PathBuffer(std::shared_ptr<Mixer> mixer, Mixer::VoiceId voice) : mixer_(std::move(mixer)), voice_(voice) {}

    HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Play(DWORD, DWORD, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Stop() override { return DSERR_INVALIDCALL; }
    HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_INVALIDCALL; }
    HRESULT GetStatus(DWORD* s) override {
        if (!s) return DSERR_INVALIDPARAM;
        *s = mixer_->playing(voice_) ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    }
    HRESULT Restore() override { return DS_OK; }

    HRESULT SetFX(DWORD count, const DSEFFECTDESC* effects, DWORD* results) override {
        if (count == 0) {
            mixer_->setEffect(voice_, nullptr);
            return DS_OK;
        }
        if (!effects || count != 1) return DSERR_INVALIDPARAM;
        const DSEFFECTDESC& e = effects[0];
        if (e.dwSize != DSEFFECTDESC_SIZE && e.dwSize != sizeof(DSEFFECTDESC)) return DSERR_INVALIDPARAM;
        if (!(e.guidDSFXClass == GUID_DSFX_STANDARD_CHORUS)) {
            if (results) results[0] = 1;  // not available
            return REGDB_E_CLASSNOTREG;
        }
        mixer_->setEffect(voice_, std::make_unique<audio::Chorus>(mixer_->rate()));
        if (results) results[0] = 0;
        return DS_OK;
    }

private:
    std::shared_ptr<Mixer> mixer_;
    Mixer::VoiceId voice_;
};

class AudioPath final : public ComObject<IDirectMusicAudioPath8> {
public:
    AudioPath(std::shared_ptr<Mixer> mixer, bool active) : mixer_(std::move(mixer)), active_(active) {
        voice_ = mixer_->createVoice(Mixer::Bus::Music);
        buffer_ = new PathBuffer(mixer_, voice_);
    }
    ~AudioPath() override {
        buffer_->Release();
        mixer_->destroyVoice(voice_);
    }

    HRESULT GetObjectInPath(DWORD, DWORD stage, DWORD buffer, const GUID&, DWORD index, const IID& iid,
                            void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (stage != DMUS_PATH_BUFFER || buffer != 0 || index != 0) return DMUS_E_NOT_FOUND;
        if (!(iid == IID_IDirectSoundBuffer8)) return E_NOINTERFACE;
        buffer_->AddRef();
        *out = static_cast<IDirectSoundBuffer8*>(buffer_);
        return S_OK;
    }
    HRESULT SetVolume(long level, DWORD durationMs) override {
        if (level < DMUS_VOLUME_MIN || level > DSBVOLUME_MAX) return E_INVALIDARG;
        mixer_->setVolume(voice_, level, durationMs);
        return S_OK;
    }
    HRESULT Activate(BOOL active) override {
        active_ = active != 0;
        if (!active_) mixer_->halt(voice_);
        return S_OK;
    }

    bool active() const { return active_; }
    Mixer::VoiceId voice() const { return voice_; }

private:
    std::shared_ptr<Mixer> mixer_;
    Mixer::VoiceId voice_;
    PathBuffer* buffer_;
    bool active_;
};

class Performance final : public ComObject<IDirectMusicPerformance8> {
public:
    ~Performance() override { CloseDown(); }

    HRESULT InitAudio(IUnknown**, IUnknown**, HWND, DWORD defaultPathType, DWORD, DWORD, void*) override {
        if (mixer_) return DMUS_E_NOT_INIT;  // once only
        mixer_ = audio::outputMixer();
        if (!mixer_) return DSERR_NODRIVER;
        if (defaultPathType == DMUS_APATH_SHARED_STEREOPLUSREVERB)
            mixer_->setBusEffect(Mixer::Bus::Music, std::make_unique<audio::Reverb>(mixer_->rate()));
        defaultPath_ = new AudioPath(mixer_, true);
        return S_OK;
    }

    HRESULT CreateStandardAudioPath(DWORD type, DWORD, BOOL activate, IDirectMusicAudioPath8** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!mixer_) return DMUS_E_NOT_INIT;
        if (type != DMUS_APATH_SHARED_STEREOPLUSREVERB && type != DMUS_APATH_DYNAMIC_STEREO)
            return E_INVALIDARG;
        *out = new AudioPath(mixer_, activate != 0);
        return S_OK;
    }

    HRESULT PlaySegmentEx(IUnknown* source, const WCHAR*, IUnknown*, DWORD flags, REFERENCE_TIME,
                          IUnknown** segmentState, IUnknown*, IUnknown* audioPath) override {
        if (segmentState) *segmentState = nullptr;
        if (!mixer_) return DMUS_E_NOT_INIT;
        auto* segment = dynamic_cast<Segment*>(source);
        auto* path = audioPath ? dynamic_cast<AudioPath*>(audioPath) : defaultPath_;
        if (!segment || !path) return E_INVALIDARG;
        if (!path->active()) return DMUS_E_AUDIOPATH_INACTIVE;
        if (!segment->downloaded()) return DMUS_E_NOT_INIT;
        constexpr DWORD secondary = 0x80;
        if (!(flags & secondary)) mixer_->haltBus(Mixer::Bus::Music);  // a primary segment replaces all
        mixer_->setSource(path->voice(), segment->pcm());
        mixer_->setPosition(path->voice(), 0);
        mixer_->start(path->voice(), false);
        return S_OK;
    }

    HRESULT Stop(IDirectMusicSegment8*, IUnknown*, REFERENCE_TIME, DWORD) override {
        if (!mixer_) return DMUS_E_NOT_INIT;
        mixer_->haltBus(Mixer::Bus::Music);
        return S_OK;
    }

    HRESULT CloseDown() override {
        if (!mixer_) return S_OK;
        mixer_->haltBus(Mixer::Bus::Music);
        mixer_->setBusEffect(Mixer::Bus::Music, nullptr);
        if (defaultPath_) defaultPath_->Release();
        defaultPath_ = nullptr;
        mixer_.reset();
        return S_OK;
    }

private:
    std::shared_ptr<Mixer> mixer_;
    AudioPath* defaultPath_ = nullptr;
};

class Loader final : public ComObject<IDirectMusicLoader8> {
public:
    HRESULT SetSearchDirectory(const GUID&, const WCHAR* path, BOOL) override {
        return path ? S_OK : E_POINTER;
    }

    HRESULT GetObject(DMUS_OBJECTDESC* desc, const IID& iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!desc || (desc->dwSize != DMUS_OBJECTDESC_SIZE && desc->dwSize != sizeof(DMUS_OBJECTDESC)))
            return E_INVALIDARG;
        if (!(desc->dwValidData & DMUS_OBJ_MEMORY) || !(desc->dwValidData & DMUS_OBJ_CLASS) ||
            !(desc->guidClass == CLSID_DirectMusicSegment))
            return DMUS_E_NOT_FOUND;
        if (!(iid == IID_IDirectMusicSegment8)) return E_NOINTERFACE;
        auto mixer = audio::outputMixer();
        if (!mixer) return DSERR_NODRIVER;
        audio::PcmView pcm;
        if (!readImage(desc->pbMemData, desc->llMemLength, pcm)) return DMUS_E_INVALIDFILE;
        *out = static_cast<IDirectMusicSegment8*>(new Segment(std::move(mixer), std::move(pcm)));
        return S_OK;
    }
};

}  // namespace

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD, const IID& iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (comUsers() == 0) return CO_E_NOTINITIALIZED;
    if (outer) return E_INVALIDARG;
    if (clsid == CLSID_DirectMusicPerformance) {
        if (!(iid == IID_IDirectMusicPerformance8)) return E_NOINTERFACE;
        *out = static_cast<IDirectMusicPerformance8*>(new Performance);
        return S_OK;
    }
    if (clsid == CLSID_DirectMusicLoader) {
        if (!(iid == IID_IDirectMusicLoader8)) return E_NOINTERFACE;
        *out = static_cast<IDirectMusicLoader8*>(new Loader);
        return S_OK;
    }
    return REGDB_E_CLASSNOTREG;
}

}  // namespace platform
