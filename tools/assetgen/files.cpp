#include "files.h"

#include <fstream>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* sz) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(sz[i]));
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const std::vector<uint8_t>& indices, int nWidth, int nHeight,
                               const PlatColor lpPalette[256]) {
    const uint32_t dwStride = (uint32_t(nWidth) + 3) & ~3u;
    const uint32_t dwOffset = 14 + 40 + 256 * 4;
    const uint32_t dwImage = dwStride * uint32_t(nHeight);
    std::vector<uint8_t> out;
    out.reserve(dwOffset + dwImage);
    out.push_back('B');
    out.push_back('M');
    Put32(out, dwOffset + dwImage);
    Put32(out, 0);
    Put32(out, dwOffset);
    Put32(out, 40);
    Put32(out, uint32_t(nWidth));
    Put32(out, uint32_t(nHeight));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB, no compression
    Put32(out, dwImage);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (int i = 0; i < 256; ++i) {
        out.push_back(lpPalette[i].b);
        out.push_back(lpPalette[i].g);
        out.push_back(lpPalette[i].r);
        out.push_back(0);
    }
    for (int y = nHeight - 1; y >= 0; --y) {
        auto row = indices.begin() + ptrdiff_t(y) * nWidth;
        out.insert(out.end(), row, row + nWidth);
        out.insert(out.end(), dwStride - uint32_t(nWidth), 0);
    }
    return out;
}

std::vector<uint8_t> EncodeWav(const std::vector<uint8_t>& samples, int nRate) {
    std::vector<uint8_t> out;
    const uint32_t dwData = uint32_t(samples.size());
    const uint32_t dwPad = dwData & 1;  // RIFF chunks are word aligned
    out.reserve(44 + dwData + dwPad);
    PutTag(out, "RIFF");
    Put32(out, 4 + 8 + 16 + 8 + dwData + dwPad);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, uint32_t(nRate));
    Put32(out, uint32_t(nRate));  // bytes per second at one byte per sample
    Put16(out, 1);                // block alignment
    Put16(out, 8);                // bits per sample
    PutTag(out, "data");
    Put32(out, dwData);
    out.insert(out.end(), samples.begin(), samples.end());
    if (dwPad) out.push_back(0x80);
    return out;
}

bool WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(f);
}
