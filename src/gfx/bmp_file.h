// The BMP reader: 8-bit uncompressed Windows bitmaps, nothing else.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct BMPCOLOR {
    uint8_t r, g, b;
};

struct BMPFILE {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<BMPCOLOR> colors;  // the colour table, at most 256 entries
    std::vector<uint8_t> pixels;   // nWidth * nHeight indices, top row first, no padding
};

// False for anything but a complete 8-bit uncompressed BMP (bottom-up or top-down).
bool DDReadBmpFile(const char* szFile, BMPFILE& bmp);
bool DDParseBmp(const uint8_t* lpData, size_t nSize, BMPFILE& bmp);
