#include "audio/sound_bank.h"

#include <cstring>
#include <new>

#include "audio/audio_trace.h"
#include "platform/audio/mmio.h"

using namespace platform;

bool SoundBank::open(HWND window, const std::vector<std::string>& files) {
    if (FAILED(DirectSoundCreate(nullptr, &device_, nullptr))) return false;
    if (FAILED(device_->SetCooperativeLevel(window, DSSCL_PRIORITY))) return false;
    if (FAILED(device_->SetSpeakerConfig(DSSPEAKER_STEREO | DSSPEAKER_GEOMETRY_WIDE << 16))) return false;
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = 0;
    desc.lpwfxFormat = nullptr;
    if (device_->CreateSoundBuffer(&desc, &primary_, nullptr) != DS_OK) return false;
    for (std::size_t i = 0; i < files.size() && i < entryCount; ++i)
        loadWave(static_cast<int>(i), files[i].c_str());
    return true;
}

bool SoundBank::loadWave(int entry, const char* path) {
    if (entry < 0 || entry >= entryCount || !device_ || buffers_[entry]) return false;
    HMMIO h = mmioOpenA(path, nullptr, MMIO_ALLOCBUF);
    if (!h) return false;
    auto fail = [&] {
        mmioClose(h, 0);
        return false;
    };
    MMCKINFO riff;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return fail();
    // The format chunk must come first in the form: no search.
    MMCKINFO chunk;
    if (mmioDescend(h, &chunk, &riff, 0) != MMSYSERR_NOERROR) return fail();
    if (chunk.ckid != mmioFOURCC('f', 'm', 't', ' ')) return fail();
    // 18 bytes, whatever the chunk's size: a 16-byte chunk lends the first
    // two bytes of the next chunk as the unused extra-size field.
    WAVEFORMATEX format;
    if (mmioRead(h, reinterpret_cast<char*>(&format), 18) != 18) return fail();
    if (format.wFormatTag != WAVE_FORMAT_PCM) return fail();
    if (mmioAscend(h, &chunk, 0) != MMSYSERR_NOERROR) return fail();

    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(h, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return fail();
    // A chunk claiming more than the file holds cannot be read whole; say
    // so before allocating what it claims.
    LONG here = mmioSeek(h, 0, SEEK_CUR_);
    LONG end = mmioSeek(h, 0, SEEK_END_);
    if (here < 0 || end < here || mmioSeek(h, here, SEEK_SET_) != here ||
        chunk.cksize > static_cast<DWORD>(end - here))
        return fail();
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[chunk.cksize ? chunk.cksize : 1]);
    if (!data) return fail();
    if (mmioRead(h, reinterpret_cast<char*>(data.get()), static_cast<LONG>(chunk.cksize)) !=
        static_cast<LONG>(chunk.cksize))
        return fail();
    mmioClose(h, 0);

    WAVEFORMATEX bufferFormat;
    bufferFormat.wFormatTag = WAVE_FORMAT_PCM;
    bufferFormat.nChannels = format.nChannels;
    bufferFormat.nSamplesPerSec = format.nSamplesPerSec;
    bufferFormat.nAvgBytesPerSec = format.nAvgBytesPerSec;
    bufferFormat.nBlockAlign = format.nBlockAlign;
    bufferFormat.wBitsPerSample = format.wBitsPerSample;
    bufferFormat.cbSize = 0;
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = chunk.cksize;
    desc.lpwfxFormat = &bufferFormat;
    IDirectSoundBuffer* buffer = nullptr;
    if (device_->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) return false;

    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    HRESULT hr = buffer->Lock(0, chunk.cksize, &part1, &bytes1, &part2, &bytes2, 0);
    if (hr == DSERR_BUFFERLOST) {
        buffer->Restore();
        hr = buffer->Lock(0, chunk.cksize, &part1, &bytes1, &part2, &bytes2, 0);
    }
    if (FAILED(hr)) {
        buffer->Release();
        return false;
    }
    std::memcpy(part1, data.get(), bytes1);
    if (part2) std::memcpy(part2, data.get() + bytes1, bytes2);
    if (FAILED(buffer->Unlock(part1, bytes1, part2, bytes2))) {
        buffer->Release();
        return false;
    }
    data_[entry] = std::move(data);
    size_[entry] = chunk.cksize;
    buffers_[entry] = buffer;
    return true;
}

void SoundBank::play(int entry) {
    if (entry < 0 || entry >= entryCount) return;
    recordSoundCall(owner_, entry, true);
    IDirectSoundBuffer* buffer = buffers_[entry];
    if (!buffer) return;
    buffer->SetCurrentPosition(0);
    if (FAILED(buffer->Play(0, 0, 0))) buffer->Restore();
}

void SoundBank::stop(int entry) {
    if (entry < 0 || entry >= entryCount) return;
    recordSoundCall(owner_, entry, false);
    if (buffers_[entry]) buffers_[entry]->Stop();
}

void SoundBank::close() {
    for (int i = 0; i < entryCount; ++i) {
        if (!buffers_[i]) continue;
        if (buffers_[i]->Release() == 0) buffers_[i] = nullptr;
        data_[i].reset();
        size_[i] = 0;
    }
    if (primary_) primary_->Release();
    primary_ = nullptr;
    if (device_) device_->Release();
    device_ = nullptr;
}
