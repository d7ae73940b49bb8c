// Readers for the generated data files, written from the file formats, independent of the
// generator's writers.
#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 > b.size() ? 0
                             : uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                                   uint32_t(b[at + 3]) << 24;
}
inline uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return at + 2 > b.size() ? 0 : uint16_t(b[at] | b[at + 1] << 8);
}

struct Bmp {
    int nWidth = 0, nHeight = 0;
    std::vector<uint8_t> pixels;  // top-down rows, nWidth bytes each
    std::vector<uint8_t> table;   // 256 x (b, g, r, 0)
    uint8_t At(int x, int y) const { return pixels[size_t(y) * nWidth + x]; }
};

// An 8-bit uncompressed bottom-up BMP with a full colour table, or nothing.
inline std::optional<Bmp> ReadBmp(const std::string& path) {
    auto b = ReadAll(path);
    if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    Bmp bmp;
    uint32_t dwOffset = Le32(b, 10);
    bmp.nWidth = int32_t(Le32(b, 18));
    bmp.nHeight = int32_t(Le32(b, 22));
    if (Le32(b, 14) != 40 || Le16(b, 28) != 8 || Le32(b, 30) != 0 || bmp.nWidth <= 0 || bmp.nHeight <= 0)
        return std::nullopt;
    uint32_t dwColors = Le32(b, 46);
    if (dwColors != 0 && dwColors != 256) return std::nullopt;
    const size_t nStride = (size_t(bmp.nWidth) + 3) / 4 * 4;
    if (dwOffset < 54 + 1024 || dwOffset + nStride * bmp.nHeight > b.size()) return std::nullopt;
    bmp.table.assign(b.begin() + 54, b.begin() + 54 + 1024);
    for (int y = 0; y < bmp.nHeight; ++y) {
        auto row = b.begin() + ptrdiff_t(dwOffset + nStride * size_t(bmp.nHeight - 1 - y));
        bmp.pixels.insert(bmp.pixels.end(), row, row + bmp.nWidth);
    }
    return bmp;
}

struct Wav {
    uint16_t wTag = 0, wChannels = 0, wBits = 0;
    uint32_t dwRate = 0;
    uint32_t dwFmtSize = 0;
    std::vector<uint8_t> data;
};

// The game's WAV reading rules: a RIFF form of type WAVE, a "fmt " chunk of at most 18
// bytes with the PCM tag, and a "data" chunk. Anything else gives nothing.
inline std::optional<Wav> ReadWavLikeGame(const std::string& path) {
    auto b = ReadAll(path);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    const size_t nEnd = std::min(b.size(), size_t(Le32(b, 4)) + 8);
    Wav w;
    bool bFmt = false;
    for (size_t at = 12; at + 8 <= nEnd;) {
        uint32_t dwSize = Le32(b, at + 4);
        if (at + 8 + dwSize > nEnd) return std::nullopt;
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0) {
            if (dwSize > 18 || dwSize < 16) return std::nullopt;
            w.dwFmtSize = dwSize;
            w.wTag = Le16(b, at + 8);
            w.wChannels = Le16(b, at + 10);
            w.dwRate = Le32(b, at + 12);
            w.wBits = Le16(b, at + 22);
            if (w.wTag != 1) return std::nullopt;
            bFmt = true;
        } else if (std::memcmp(b.data() + at, "data", 4) == 0 && bFmt) {
            w.data.assign(b.begin() + ptrdiff_t(at + 8), b.begin() + ptrdiff_t(at + 8 + dwSize));
            return w;
        }
        at += 8 + dwSize + (dwSize & 1);
    }
    return std::nullopt;
}
