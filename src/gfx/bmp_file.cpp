#include "gfx/bmp_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/byte_order.h"
#include "platform/plat_file.h"

namespace {

// Larger pictures than this are not game pictures; refusing them keeps allocations bounded.
constexpr int64_t MAX_BMP_SIZE = 16384;

}  // namespace

bool DDParseBmp(const uint8_t* lpData, size_t nSize, BMPFILE& bmp) {
    if (!lpData || nSize < 14 + 40 || lpData[0] != 'B' || lpData[1] != 'M') return false;
    const uint32_t dwOffBits = Le32(lpData + 10);
    const uint32_t dwInfoSize = Le32(lpData + 14);
    // BITMAPINFOHEADER and its later extensions (V2..V5) all start the same way.
    if (dwInfoSize < 40 || dwInfoSize > 1024 || 14 + uint64_t(dwInfoSize) > nSize) return false;
    const int64_t nWidth = int32_t(Le32(lpData + 18));
    const int64_t nRawHeight = int32_t(Le32(lpData + 22));
    const uint32_t wPlanes = Le16(lpData + 26);
    const uint32_t wBitCount = Le16(lpData + 28);
    const uint32_t dwCompression = Le32(lpData + 30);
    uint32_t dwClrUsed = Le32(lpData + 46);
    const bool bTopDown = nRawHeight < 0;
    const int64_t nHeight = bTopDown ? -nRawHeight : nRawHeight;
    if (wPlanes != 1 || wBitCount != 8 || dwCompression != 0) return false;
    if (nWidth <= 0 || nHeight <= 0 || nWidth > MAX_BMP_SIZE || nHeight > MAX_BMP_SIZE) return false;
    if (dwClrUsed == 0 || dwClrUsed > 256) dwClrUsed = 256;

    const uint64_t nTable = 14 + uint64_t(dwInfoSize);
    const uint64_t nStride = (uint64_t(nWidth) + 3) & ~uint64_t(3);
    if (dwOffBits < nTable || uint64_t(dwOffBits) + nStride * uint64_t(nHeight) > nSize) return false;

    // A table cut short by the pixel data holds only the entries that fit before it.
    const uint64_t nEntries = std::min<uint64_t>(dwClrUsed, (dwOffBits - nTable) / 4);
    bmp.colors.resize(nEntries);
    for (uint64_t i = 0; i < nEntries; ++i) {
        const uint8_t* q = lpData + nTable + 4 * i;
        bmp.colors[i] = {q[2], q[1], q[0]};
    }
    bmp.nWidth = int(nWidth);
    bmp.nHeight = int(nHeight);
    bmp.pixels.resize(size_t(nWidth * nHeight));
    for (int64_t r = 0; r < nHeight; ++r) {
        // Bottom-up files store the picture's last row first.
        const int64_t nFileRow = bTopDown ? r : nHeight - 1 - r;
        const uint8_t* lpRow = lpData + dwOffBits + nFileRow * nStride;
        std::copy(lpRow, lpRow + nWidth, bmp.pixels.begin() + r * nWidth);
    }
    return true;
}

bool DDReadBmpFile(const char* szFile, BMPFILE& bmp) {
    if (!szFile) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> fp(Plat_FileOpen(szFile, "rb"), std::fclose);
    if (!fp) return false;
    // Enough for the largest picture accepted, plus headers.
    constexpr size_t MAX_FILE = size_t(MAX_BMP_SIZE) * MAX_BMP_SIZE + 65536;
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp.get())) > 0) {
        if (data.size() + n > MAX_FILE) return false;
        data.insert(data.end(), buf, buf + n);
    }
    if (std::ferror(fp.get())) return false;
    return DDParseBmp(data.data(), data.size(), bmp);
}
