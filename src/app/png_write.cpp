// A minimal PNG writer: colour type 3 (palette), the image data in stored (uncompressed)
// deflate blocks, so it needs no compression library.
#include "app/png_write.h"
#include "platform/plat_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* szType, const std::vector<uint8_t>& data) {
    PutBE32(out, uint32_t(data.size()));
    size_t nStart = out.size();
    out.insert(out.end(), szType, szType + 4);
    out.insert(out.end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = nStart; i < out.size(); ++i) crc = CrcTable()[(crc ^ out[i]) & 0xFF] ^ (crc >> 8);
    PutBE32(out, crc ^ 0xFFFFFFFFu);
}

// The file from its header fields, optional palette and raw pixel rows (nRowBytes each).
bool WritePng(const char* szFile, int nWidth, int nHeight, uint8_t nColorType,
              const std::vector<uint8_t>& plte, const uint8_t* lpRows, size_t nRowBytes, size_t nPitch) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    PutBE32(ihdr, uint32_t(nWidth));
    PutBE32(ihdr, uint32_t(nHeight));
    ihdr.insert(ihdr.end(), {8, nColorType, 0, 0, 0});  // 8 bits, deflate, no filter, no interlace
    PutChunk(png, "IHDR", ihdr);
    if (!plte.empty()) PutChunk(png, "PLTE", plte);

    // Raw scanlines, each led by filter type 0.
    std::vector<uint8_t> raw;
    raw.reserve((nRowBytes + 1) * size_t(nHeight));
    for (int y = 0; y < nHeight; ++y) {
        raw.push_back(0);
        const uint8_t* row = lpRows + size_t(y) * nPitch;
        raw.insert(raw.end(), row, row + nRowBytes);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t nPos = 0;
    do {
        size_t nLen = std::min<size_t>(65535, raw.size() - nPos);
        bool bLast = nPos + nLen == raw.size();
        z.push_back(bLast ? 1 : 0);
        z.insert(z.end(), {uint8_t(nLen), uint8_t(nLen >> 8), uint8_t(~nLen), uint8_t(~nLen >> 8)});
        z.insert(z.end(), raw.begin() + nPos, raw.begin() + nPos + nLen);
        nPos += nLen;
    } while (nPos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(z, (b << 16) | a);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});

    FILE* fp = Plat_FileOpen(szFile, "wb");
    if (!fp) return false;
    bool bOk = std::fwrite(png.data(), 1, png.size(), fp) == png.size();
    bOk = (std::fclose(fp) == 0) && bOk;
    return bOk;
}

}  // namespace

bool SavePng(const char* szFile, const uint8_t* lpPixels, int nWidth, int nHeight, int nPitch,
             const PlatColor lpPalette[256]) {
    if (nWidth <= 0 || nHeight <= 0 || nPitch < nWidth) return false;
    std::vector<uint8_t> plte;
    for (int i = 0; i < 256; ++i) plte.insert(plte.end(), {lpPalette[i].r, lpPalette[i].g, lpPalette[i].b});
    return WritePng(szFile, nWidth, nHeight, 3, plte, lpPixels, size_t(nWidth), size_t(nPitch));
}

bool SavePngRgba(const char* szFile, const uint8_t* lpRgba, int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0) return false;
    return WritePng(szFile, nWidth, nHeight, 6, {}, lpRgba, size_t(nWidth) * 4, size_t(nWidth) * 4);
}
