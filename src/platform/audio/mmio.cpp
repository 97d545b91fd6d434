#include "platform/audio/mmio.h"

#include <cstring>
#include <vector>

#include "platform/audio/file_path.h"

namespace platform {

struct MMIO {
    std::vector<char> owned;      // a file's bytes
    const char* data = nullptr;   // owned.data() or the caller's memory
    std::uint64_t size = 0;
    std::uint64_t pos = 0;        // may lie past the end after an ascent
};

namespace {

// Files above this size are not sound files; refusing them keeps a bad path
// from reading gigabytes.
constexpr std::uint64_t maxFileBytes = std::uint64_t{1} << 30;

bool readFile(const char* path, std::vector<char>& out) {
    std::FILE* f = openAssetFile(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long len = ok ? std::ftell(f) : -1;
    ok = ok && len >= 0 && static_cast<std::uint64_t>(len) <= maxFileBytes &&
         std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<std::size_t>(len));
        ok = std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    return ok;
}

std::uint32_t readLe32(const MMIO& m, std::uint64_t at) {
    std::uint32_t v;
    std::memcpy(&v, m.data + at, 4);
    return v;
}

// Reads the chunk header at the current position into ck; limit is where
// the header's bytes must end.
bool readHeader(MMIO& m, MMCKINFO& ck, std::uint64_t limit) {
    if (m.pos + 8 > limit || m.pos + 8 > m.size) return false;
    ck.ckid = readLe32(m, m.pos);
    ck.cksize = readLe32(m, m.pos + 4);
    ck.fccType = 0;
    std::uint64_t data = m.pos + 8;
    bool form = ck.ckid == FOURCC_RIFF || ck.ckid == FOURCC_LIST;
    if (form) {
        if (data + 4 > limit || data + 4 > m.size) return false;
        ck.fccType = readLe32(m, data);
    }
    ck.dwDataOffset = static_cast<DWORD>(data);
    ck.dwFlags = 0;
    m.pos = data + (form ? 4 : 0);
    return true;
}

std::uint64_t chunkEnd(const MMCKINFO& ck) {
    return std::uint64_t{ck.dwDataOffset} + ck.cksize + (ck.cksize & 1u);
}

}  // namespace

HMMIO mmioOpenA(const char* path, MMIOINFO* info, DWORD) {
    auto* m = new MMIO;
    if (info && info->fccIOProc == FOURCC_MEM) {
        if (!info->pchBuffer || info->cchBuffer < 0) {
            info->wErrorRet = MMSYSERR_INVALPARAM;
            delete m;
            return nullptr;
        }
        m->data = info->pchBuffer;
        m->size = static_cast<std::uint64_t>(info->cchBuffer);
        return m;
    }
    if (!readFile(path, m->owned)) {
        if (info) info->wErrorRet = MMIOERR_FILENOTFOUND;
        delete m;
        return nullptr;
    }
    m->data = m->owned.data();
    m->size = m->owned.size();
    return m;
}

MMRESULT mmioClose(HMMIO h, UINT) {
    if (!h) return MMSYSERR_INVALHANDLE;
    delete h;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO h, char* buffer, LONG count) {
    if (!h || count < 0 || (!buffer && count > 0)) return -1;
    std::uint64_t left = h->pos < h->size ? h->size - h->pos : 0;
    std::uint64_t n = std::min<std::uint64_t>(left, static_cast<std::uint64_t>(count));
    if (n) std::memcpy(buffer, h->data + h->pos, n);
    h->pos += n;
    return static_cast<LONG>(n);
}

LONG mmioSeek(HMMIO h, LONG offset, int origin) {
    if (!h) return -1;
    std::int64_t base = origin == SEEK_SET_ ? 0
                      : origin == SEEK_CUR_ ? static_cast<std::int64_t>(h->pos)
                      : origin == SEEK_END_ ? static_cast<std::int64_t>(h->size)
                                            : -1;
    if (base < 0) return -1;
    std::int64_t to = base + offset;
    if (to < 0 || static_cast<std::uint64_t>(to) > h->size) return -1;
    h->pos = static_cast<std::uint64_t>(to);
    return static_cast<LONG>(to);
}

MMRESULT mmioDescend(HMMIO h, MMCKINFO* ck, const MMCKINFO* parent, UINT flags) {
    if (!h || !ck) return MMSYSERR_INVALPARAM;
    std::uint64_t limit = parent ? std::min(h->size, chunkEnd(*parent)) : h->size;
    std::uint64_t start = h->pos;
    if (flags == 0) {
        MMCKINFO found;
        if (!readHeader(*h, found, h->size)) {
            h->pos = start;
            return MMIOERR_CHUNKNOTFOUND;
        }
        *ck = found;
        return MMSYSERR_NOERROR;
    }
    FOURCC wantId = flags & MMIO_FINDRIFF ? FOURCC_RIFF
                  : flags & MMIO_FINDLIST ? FOURCC_LIST
                                          : ck->ckid;
    bool wantType = flags & (MMIO_FINDRIFF | MMIO_FINDLIST);
    MMCKINFO found;
    while (readHeader(*h, found, limit)) {
        if (found.ckid == wantId && (!wantType || found.fccType == ck->fccType)) {
            *ck = found;
            return MMSYSERR_NOERROR;
        }
        h->pos = chunkEnd(found);
    }
    h->pos = start;
    return MMIOERR_CHUNKNOTFOUND;
}

MMRESULT mmioAscend(HMMIO h, MMCKINFO* ck, UINT) {
    if (!h || !ck) return MMSYSERR_INVALPARAM;
    std::uint64_t end = chunkEnd(*ck);
    if (end > h->size) return MMIOERR_CANNOTSEEK;
    h->pos = end;
    return MMSYSERR_NOERROR;
}

}  // namespace platform
