// The small part of COM the audio facades need: GUIDs, reference-counted
// interfaces, CoInitialize / CoCreateInstance for the DirectMusic classes,
// and the two Win32 text calls the music set-up makes (current directory,
// ANSI to UTF-16).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/ref_counted.h"
#include "platform/win_types.h"

namespace platform {

using WCHAR = char16_t;

constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);

struct GUID {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
    friend bool operator==(const GUID&, const GUID&) = default;
};
using CLSID = GUID;
using IID = GUID;

// Identities of the classes and interfaces this layer knows. Only equality
// matters; the values are this layer's own.
inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr GUID makeAudioGuid(std::uint8_t n) { return {0x7e570000u + n, 0xa0d1, 0x4d55, {0x90, 0x1c, 0, 0, 0, 0, 0, n}}; }
inline constexpr CLSID CLSID_DirectMusicPerformance = makeAudioGuid(1);
inline constexpr CLSID CLSID_DirectMusicLoader = makeAudioGuid(2);
inline constexpr CLSID CLSID_DirectMusicSegment = makeAudioGuid(3);
inline constexpr IID IID_IDirectMusicPerformance8 = makeAudioGuid(4);
inline constexpr IID IID_IDirectMusicLoader8 = makeAudioGuid(5);
inline constexpr IID IID_IDirectMusicSegment8 = makeAudioGuid(6);
inline constexpr IID IID_IDirectSoundBuffer8 = makeAudioGuid(7);
inline constexpr GUID GUID_DirectMusicAllTypes = makeAudioGuid(8);
inline constexpr GUID GUID_DSFX_STANDARD_CHORUS = makeAudioGuid(9);
inline constexpr GUID GUID_DSFX_WAVES_REVERB = makeAudioGuid(10);

class IUnknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;  // returns the remaining count; 0 destroys

protected:
    virtual ~IUnknown() = default;
};

// An interface implemented with the layer's reference count.
template <typename Interface>
class ComObject : public Interface, private RefCounted {
public:
    ULONG AddRef() override { return RefCounted::AddRef(); }
    ULONG Release() override { return RefCounted::Release(); }
};

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;

HRESULT CoInitialize(void* reserved);
void CoUninitialize();
int comUsers();  // CoInitialize calls not yet undone
// Creates a DirectMusic performance or loader (no aggregation).
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, const IID& iid,
                         void** out);

// Current directory into buf (size chars with the terminator); returns its
// length, or the size needed when buf is too small, or 0 on failure.
DWORD GetCurrentDirectoryA(DWORD size, char* buf);

constexpr unsigned CP_ACP = 0;
// The ANSI code page is UTF-8 here. cbMultiByte -1: up to and including the
// terminator. Returns the characters written, 0 when out is too small.
int MultiByteToWideChar(unsigned codePage, DWORD flags, const char* mb, int cbMultiByte,
                        WCHAR* out, int cchWideChar);

}  // namespace platform
