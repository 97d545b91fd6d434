// The DirectSound calls the sound-effect banks make: a device object per
// bank, its primary buffer, and static secondary buffers holding PCM in
// their own format. Every device object feeds the process's one mixer; each
// secondary buffer is one voice of it.
#pragma once

#include "platform/audio/com.h"
#include "platform/audio/wave_format.h"
#include "platform/os.h"

namespace platform {

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001E);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSPEAKER_STEREO = 4;
constexpr DWORD DSSPEAKER_GEOMETRY_WIDE = 20;

constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x01;
constexpr DWORD DSBCAPS_STATIC = 0x02;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;
constexpr DWORD DSBCAPS_CTRLFX = 0x200;

constexpr DWORD DSBPLAY_LOOPING = 0x1;
constexpr DWORD DSBSTATUS_PLAYING = 0x1;
constexpr DWORD DSBSTATUS_LOOPING = 0x4;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x2;

constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

// The size the game passes in dwSize: the structure as 32-bit Windows lays it out.
constexpr DWORD DSBUFFERDESC_SIZE = 36;
struct DSBUFFERDESC {
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwBufferBytes = 0;
    DWORD dwReserved = 0;
    WAVEFORMATEX* lpwfxFormat = nullptr;
    GUID guid3DAlgorithm = GUID_NULL;
};

constexpr DWORD DSEFFECTDESC_SIZE = 32;
struct DSEFFECTDESC {
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    GUID guidDSFXClass = GUID_NULL;
    std::uintptr_t dwReserved1 = 0;
    std::uintptr_t dwReserved2 = 0;
};

class IDirectSoundBuffer : public IUnknown {
public:
    // Up to two parts (the second when the span wraps past the end).
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                         DWORD* bytes2, DWORD flags) = 0;
    virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(DWORD bytes) = 0;
    virtual HRESULT GetCurrentPosition(DWORD* play, DWORD* write) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    virtual HRESULT Restore() = 0;
};

// A buffer that can carry effects (the buffer of a music path).
class IDirectSoundBuffer8 : public IDirectSoundBuffer {
public:
    virtual HRESULT SetFX(DWORD count, const DSEFFECTDESC* effects, DWORD* results) = 0;
};

class IDirectSound : public IUnknown {
public:
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    virtual HRESULT SetSpeakerConfig(DWORD config) = 0;
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                      IUnknown* outer) = 0;
};

// device: null for the default one. Fails with DSERR_NODRIVER when the
// process has no audio output.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, IUnknown* outer);

}  // namespace platform
