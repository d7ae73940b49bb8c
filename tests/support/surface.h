// Reading and filling 8-bit surfaces in the drawing tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "gfx/surface.h"

inline uint8_t At(const SURFACE& s, int x, int y) {
    return s.lpSurface[size_t(y) * s.nPitch + x];
}
inline void Set(SURFACE& s, int x, int y, uint8_t c) {
    s.lpSurface[size_t(y) * s.nPitch + x] = c;
}

// A w x h surface whose pixel (x, y) holds 1 + x + w * y (so none is 0, for w * h < 255).
inline void MakeNumbered(SURFACE& s, int w, int h, int bColorKey) {
    ASSERT_TRUE(DDCreateSurface(s, w, h, bColorKey, 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Set(s, x, y, uint8_t(1 + x + w * y));
}

inline void Fill(SURFACE& s, uint8_t c) {
    for (int y = 0; y < s.nHeight; ++y)
        for (int x = 0; x < s.nWidth; ++x) Set(s, x, y, c);
}

// How many pixels of s do not hold c.
inline int CountNot(const SURFACE& s, uint8_t c) {
    int n = 0;
    for (int y = 0; y < s.nHeight; ++y)
        for (int x = 0; x < s.nWidth; ++x) n += At(s, x, y) != c;
    return n;
}

// The 640 x 480 back buffer: one pixel, and how many pixels hold index n.
inline uint8_t Pixel(int x, int y) {
    return At(g_BackBuffer, x, y);
}
inline int CountIndex(uint8_t n) {
    return g_BackBuffer.nWidth * g_BackBuffer.nHeight - CountNot(g_BackBuffer, n);
}

// Index n fills the w x h rectangle at (x, y) of the back buffer and shows nowhere else.
inline void ExpectBlock(uint8_t n, int x, int y, int w, int h) {
    int nInside = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) nInside += Pixel(i, j) == n;
    EXPECT_EQ(nInside, w * h) << "index " << int(n) << " at " << x << "," << y;
    EXPECT_EQ(CountIndex(n), w * h) << "index " << int(n) << " at " << x << "," << y;
}
