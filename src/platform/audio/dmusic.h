// The DirectMusic calls the music player makes: a performance with the
// shared stereo-plus-reverb path type, a loader that makes segments from WAV
// images in memory, audio paths (one voice each, with a volume ramp and a
// buffer that takes the chorus) and segment playback. Playback, mixing and
// timing are the mixer's.
#pragma once

#include <cstdint>

#include "platform/audio/com.h"
#include "platform/audio/dsound.h"
#include "platform/os.h"

namespace platform {

using REFERENCE_TIME = std::int64_t;

constexpr HRESULT DMUS_E_NOT_FOUND = static_cast<HRESULT>(0x88781161);
constexpr HRESULT DMUS_E_NOT_INIT = static_cast<HRESULT>(0x88781162);
constexpr HRESULT DMUS_E_AUDIOPATH_INACTIVE = static_cast<HRESULT>(0x88781201);
constexpr HRESULT DMUS_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x88781D00);
constexpr HRESULT DMUS_E_INVALIDFILE = static_cast<HRESULT>(0x88781D01);

constexpr DWORD DMUS_APATH_SHARED_STEREOPLUSREVERB = 1;
constexpr DWORD DMUS_APATH_DYNAMIC_STEREO = 8;
constexpr DWORD DMUS_AUDIOF_ALL = 0x3F;
constexpr DWORD DMUS_PCHANNEL_ALL = 0xFFFFFFFB;
constexpr DWORD DMUS_PATH_BUFFER = 0x6000;
constexpr DWORD DMUS_OBJ_CLASS = 0x2;
constexpr DWORD DMUS_OBJ_MEMORY = 0x400;

constexpr long DSBVOLUME_MAX = 0;
constexpr long DMUS_VOLUME_MIN = -9600;

// The size the game passes in dwSize: the structure as 32-bit Windows lays it out.
constexpr DWORD DMUS_OBJECTDESC_SIZE = 848;
struct DMUS_OBJECTDESC {
    DWORD dwSize = 0;
    DWORD dwValidData = 0;
    GUID guidObject = GUID_NULL;
    GUID guidClass = GUID_NULL;
    std::uint64_t ftDate = 0;
    std::uint64_t vVersion = 0;
    WCHAR wszName[64] = {};
    WCHAR wszCategory[64] = {};
    WCHAR wszFileName[260] = {};
    std::int64_t llMemLength = 0;
    const std::uint8_t* pbMemData = nullptr;
    IUnknown* pStream = nullptr;
};

class IDirectMusicSegment8;

class IDirectMusicAudioPath8 : public IUnknown {
public:
    virtual HRESULT GetObjectInPath(DWORD pchannel, DWORD stage, DWORD buffer, const GUID& objectClass,
                                    DWORD index, const IID& iid, void** out) = 0;
    // level in hundredths of a dB (-9600 .. 0), reached over durationMs.
    virtual HRESULT SetVolume(long level, DWORD durationMs) = 0;
    virtual HRESULT Activate(BOOL active) = 0;
};

class IDirectMusicPerformance8 : public IUnknown {
public:
    virtual HRESULT InitAudio(IUnknown** music, IUnknown** sound, HWND window, DWORD defaultPathType,
                              DWORD pchannels, DWORD flags, void* params) = 0;
    virtual HRESULT CreateStandardAudioPath(DWORD type, DWORD pchannels, BOOL activate,
                                            IDirectMusicAudioPath8** out) = 0;
    virtual HRESULT PlaySegmentEx(IUnknown* source, const WCHAR* name, IUnknown* transition,
                                  DWORD flags, REFERENCE_TIME startTime, IUnknown** segmentState,
                                  IUnknown* from, IUnknown* audioPath) = 0;
    // All null / 0: every segment stops at once.
    virtual HRESULT Stop(IDirectMusicSegment8* segment, IUnknown* segmentState, REFERENCE_TIME time,
                         DWORD flags) = 0;
    virtual HRESULT CloseDown() = 0;
};

class IDirectMusicSegment8 : public IUnknown {
public:
    virtual HRESULT Download(IUnknown* performance) = 0;
    virtual HRESULT Unload(IUnknown* performance) = 0;
};

class IDirectMusicLoader8 : public IUnknown {
public:
    virtual HRESULT SetSearchDirectory(const GUID& objectClass, const WCHAR* path, BOOL clear) = 0;
    // Segments from a WAV image in memory (DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY);
    // the memory must stay allocated while the segment lives.
    virtual HRESULT GetObject(DMUS_OBJECTDESC* desc, const IID& iid, void** out) = 0;
};

}  // namespace platform
