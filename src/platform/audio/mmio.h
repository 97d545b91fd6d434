// The multimedia I/O calls that read RIFF files: a file (or a block of
// memory, FOURCC_MEM) opened whole, chunk descent and ascent, plain reads.
// Every offset is checked against the data actually there.
#pragma once

#include <cstdint>

#include "platform/audio/wave_format.h"

namespace platform {

struct MMIO;  // opaque
using HMMIO = MMIO*;
using MMRESULT = unsigned;
using UINT = unsigned;

constexpr DWORD MMIO_READ = 0x00000000;
constexpr DWORD MMIO_ALLOCBUF = 0x00010000;
constexpr UINT MMIO_FINDCHUNK = 0x0010;
constexpr UINT MMIO_FINDRIFF = 0x0020;
constexpr UINT MMIO_FINDLIST = 0x0040;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MMIOERR_CANNOTSEEK = 264;
constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;
constexpr MMRESULT MMIOERR_FILENOTFOUND = 257;

constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');
constexpr FOURCC FOURCC_MEM = mmioFOURCC('M', 'E', 'M', ' ');

constexpr int SEEK_SET_ = 0;
constexpr int SEEK_CUR_ = 1;
constexpr int SEEK_END_ = 2;

// Only the members this layer uses: a memory file is described by
// fccIOProc = FOURCC_MEM, pchBuffer and cchBuffer (the memory is not copied
// and must outlive the handle).
struct MMIOINFO {
    DWORD dwFlags = 0;
    FOURCC fccIOProc = 0;
    LONG cchBuffer = 0;
    const char* pchBuffer = nullptr;
    UINT wErrorRet = 0;
};

struct MMCKINFO {
    FOURCC ckid = 0;
    DWORD cksize = 0;
    FOURCC fccType = 0;
    DWORD dwDataOffset = 0;
    DWORD dwFlags = 0;
};

// path may use '\' as separator. Returns nullptr when the file cannot be read.
HMMIO mmioOpenA(const char* path, MMIOINFO* info, DWORD flags);
MMRESULT mmioClose(HMMIO h, UINT flags);
// Reads up to count bytes from the current position; returns the number
// read (0 at the end), -1 on a bad argument.
LONG mmioRead(HMMIO h, char* buffer, LONG count);
// Returns the new position, -1 when it would fall outside the file.
LONG mmioSeek(HMMIO h, LONG offset, int origin);
// flags 0: the chunk at the current position. MMIO_FINDCHUNK / FINDRIFF /
// FINDLIST: the first chunk with ck->ckid (or RIFF/LIST of type ck->fccType)
// from the current position up to the end of parent (or of the file).
MMRESULT mmioDescend(HMMIO h, MMCKINFO* ck, const MMCKINFO* parent, UINT flags);
// Moves past the end of the chunk (and its pad byte).
MMRESULT mmioAscend(HMMIO h, MMCKINFO* ck, UINT flags);

}  // namespace platform
