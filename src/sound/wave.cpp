// The RIFF WAVE reader. Every size in the file is checked against the file itself, so a
// damaged or lying file is refused without reading past its end.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "app/byte_order.h"
#include "sound/sound.h"
#include "platform/plat_file.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* lpFile) const { std::fclose(lpFile); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct CHUNK {
    char szId[4];
    uint64_t qwData;  // offset of the chunk's data
    uint32_t dwSize;  // its length, not counting the pad byte
};

bool ReadAt(std::FILE* lpFile, uint64_t qwOffset, void* lpOut, size_t nBytes) {
    if (std::fseek(lpFile, long(qwOffset), SEEK_SET) != 0) return false;
    return std::fread(lpOut, 1, nBytes, lpFile) == nBytes;
}

// Finds the chunk szId among the chunks from qwPos up to qwEnd. Each chunk must lie wholly
// before qwEnd; odd-sized chunks are followed by a pad byte.
bool FindChunk(std::FILE* lpFile, uint64_t qwPos, uint64_t qwEnd, const char* szId, CHUNK* lpChunk) {
    while (qwPos + 8 <= qwEnd) {
        uint8_t header[8];
        if (!ReadAt(lpFile, qwPos, header, 8)) return false;
        uint32_t dwSize = Le32(header + 4);
        if (dwSize > qwEnd - qwPos - 8) return false;
        if (std::memcmp(header, szId, 4) == 0) {
            std::memcpy(lpChunk->szId, header, 4);
            lpChunk->qwData = qwPos + 8;
            lpChunk->dwSize = dwSize;
            return true;
        }
        qwPos += 8 + uint64_t(dwSize) + (dwSize & 1);
    }
    return false;
}

}  // namespace

bool DSReadWaveFile(const char* szFile, WAVEDATA* lpWave) {
    FilePtr file(Plat_FileOpen(szFile, "rb"));
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    long nLength = std::ftell(file.get());
    if (nLength < 0) return false;
    uint64_t qwFileEnd = uint64_t(nLength);

    // The RIFF form of type WAVE, among the file's top-level chunks.
    uint64_t qwPos = 0, qwFormEnd = 0, qwFormData = 0;
    for (;;) {
        CHUNK riff;
        if (!FindChunk(file.get(), qwPos, qwFileEnd, "RIFF", &riff)) return false;
        char type[4];
        if (riff.dwSize >= 4 && ReadAt(file.get(), riff.qwData, type, 4) &&
            std::memcmp(type, "WAVE", 4) == 0) {
            qwFormData = riff.qwData + 4;
            qwFormEnd = riff.qwData + riff.dwSize;
            break;
        }
        qwPos = riff.qwData + riff.dwSize + (riff.dwSize & 1);
    }

    CHUNK fmt;
    if (!FindChunk(file.get(), qwFormData, qwFormEnd, "fmt ", &fmt)) return false;
    // Longer than the 18-byte record (an extensible header) is refused; shorter than the
    // 16 bytes every PCM header has cannot describe the samples.
    if (fmt.dwSize > 18 || fmt.dwSize < 16) return false;
    uint8_t raw[18] = {};
    if (!ReadAt(file.get(), fmt.qwData, raw, fmt.dwSize)) return false;
    // The two bytes of an 18-byte chunk's extension size carry nothing for PCM.
    PlatWaveFormat format{Le16(raw),     Le16(raw + 2),  Le32(raw + 4),
                          Le32(raw + 8), Le16(raw + 12), Le16(raw + 14)};
    if (format.wFormatTag != 1) return false;

    // The data chunk is looked for after the format chunk, as the samples follow it.
    CHUNK data;
    uint64_t qwAfterFmt = fmt.qwData + fmt.dwSize + (fmt.dwSize & 1);
    if (!FindChunk(file.get(), qwAfterFmt, qwFormEnd, "data", &data)) return false;
    uint8_t* lpData = new (std::nothrow) uint8_t[data.dwSize ? data.dwSize : 1];
    if (!lpData) return false;
    if (!ReadAt(file.get(), data.qwData, lpData, data.dwSize)) {
        delete[] lpData;
        return false;
    }
    lpWave->Format = format;
    lpWave->lpData = lpData;
    lpWave->dwSize = data.dwSize;
    return true;
}
