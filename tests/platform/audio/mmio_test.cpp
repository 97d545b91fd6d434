// Chunk descent over memory files: searching, padding, and files that end
// too soon.
#include <gtest/gtest.h>

#include "audio/sound_fixtures.h"
#include "platform/audio/mmio.h"

using namespace platform;
using fixtures::Bytes;

namespace {

HMMIO openMemory(const Bytes& b) {
    MMIOINFO info;
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<const char*>(b.data());
    info.cchBuffer = static_cast<LONG>(b.size());
    return mmioOpenA(nullptr, &info, MMIO_READ);
}

}  // namespace

TEST(Mmio, SearchSkipsOddChunksByTheirPadByte) {
    Bytes file = fixtures::riff({fixtures::chunk("odd ", Bytes(3, 7)), fixtures::chunk("data", {1, 2, 3, 4})});
    HMMIO h = openMemory(file);
    ASSERT_NE(h, nullptr);
    MMCKINFO riff, data;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 4u);
    EXPECT_EQ(data.dwDataOffset, 12u + 12 + 8);
    char buf[8];
    EXPECT_EQ(mmioRead(h, buf, 8), 4);  // only what the file holds
    EXPECT_EQ(buf[3], 4);
    mmioClose(h, 0);
}

TEST(Mmio, SearchStopsAtTheParentsEndAndAtTruncatedHeaders) {
    Bytes inner = fixtures::chunk("junk", Bytes(4, 0));
    Bytes file = fixtures::riff({inner});
    Bytes after = fixtures::chunk("data", {9, 9});
    file.insert(file.end(), after.begin(), after.end());  // outside the RIFF form
    HMMIO h = openMemory(file);
    MMCKINFO riff, data;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(h, 0);

    Bytes cut = {'R', 'I', 'F', 'F', 100, 0, 0, 0, 'W', 'A'};  // the form type cut off
    h = openMemory(cut);
    EXPECT_EQ(mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(mmioDescend(h, &data, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
    mmioClose(h, 0);

    Bytes claims = {'R', 'I', 'F', 'F', 100, 0, 0, 0, 'W', 'A', 'V', 'E'};
    h = openMemory(claims);
    ASSERT_EQ(mmioDescend(h, &data, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(data.ckid, FOURCC_RIFF);
    EXPECT_EQ(mmioAscend(h, &data, 0), MMIOERR_CANNOTSEEK);  // 100 bytes are not there
    mmioClose(h, 0);
}

TEST(Mmio, FilesAreOpenedByWindowsPathsRelativeToTheWorkingDirectory) {
    auto dir = fixtures::tempDir();
    fixtures::writeFile(dir / "w" / "a.wav", {1, 2, 3});
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    HMMIO h = mmioOpenA("w\\a.wav", nullptr, MMIO_ALLOCBUF);
    HMMIO missing = mmioOpenA("w\\b.wav", nullptr, MMIO_ALLOCBUF);
    std::filesystem::current_path(old);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(missing, nullptr);
    char buf[4];
    EXPECT_EQ(mmioRead(h, buf, 4), 3);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_END_), 3);
    EXPECT_EQ(mmioSeek(h, 1, SEEK_CUR_), -1);
    mmioClose(h, 0);
    std::filesystem::remove_all(dir);
}
