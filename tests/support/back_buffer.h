// Reading the 640 x 480 back buffer in the drawing tests.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

inline uint8_t Pixel(int x, int y) {
    return g_BackBuffer.lpSurface[y * g_BackBuffer.nPitch + x];
}

// How many back-buffer pixels hold index n.
inline int CountIndex(uint8_t n) {
    int c = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) c += Pixel(x, y) == n;
    return c;
}
