#include <algorithm>
#include <cmath>

#include "gfx/blit.h"

bool DDBltRotate(SURFACE& dst, int x, int y, int w, int h, int px, int py, int nAngle, SURFACE& src, int sx,
                 int sy, int nFlags) {
    SURFACEDESC dd, sd;
    uint8_t* lpDst;
    uint8_t* lpSrc;
    if (g_bDrawOff) return true;
    if (!DDLockSurface(dst, &dd, &lpDst, 8)) return false;
    if (!DDLockSurface(src, &sd, &lpSrc, 8)) {
        DDUnlockSurface(dst);
        return false;
    }
    // This factor, slightly below pi/180, is what makes 30 degrees give a sine of 511/1024.
    const double a = nAngle * 0.017453292519943278;
    const int64_t nSin = int64_t(std::sin(a) * 1024), nCos = int64_t(std::cos(a) * 1024);

    // 64-bit products equal 32-bit ones for every picture size, and cannot overflow.
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    const int64_t cxs[2] = {-int64_t(px), int64_t(w) - 1 - px};
    const int64_t cys[2] = {-int64_t(py), int64_t(h) - 1 - py};
    for (int64_t cy : cys)
        for (int64_t cx : cxs) {
            const int64_t X = ((nCos * cx - nSin * cy) >> 10) + px;
            const int64_t Y = ((nSin * cx + nCos * cy) >> 10) + py;
            minX = std::min(minX, X), maxX = std::max(maxX, X);
            minY = std::min(minY, Y), maxY = std::max(maxY, Y);
        }

    // The scan is limited to the part of the box that lands on the destination; the skipped
    // rows and columns would all be dropped anyway. The destination is at most 640 x 480.
    const int64_t nDstW = std::min(640, dd.nWidth), nDstH = std::min(480, dd.nHeight);
    const int64_t vFrom = std::max(minY - 2, int64_t(py) - y), vTo = std::min(maxY + 2, nDstH + py - y);
    const int64_t uFrom = std::max(minX - 2, int64_t(px) - x), uTo = std::min(maxX + 2, nDstW + px - x);
    for (int64_t v = vFrom; v < vTo; ++v) {
        const int64_t dv = v - py;
        uint8_t* lpRow = lpDst + (y + v - py) * dd.nPitch;
        int64_t du = uFrom - px;
        int64_t nU = nCos * du + nSin * dv;  // advance by nCos per column
        int64_t nV = nCos * dv - nSin * du;  // advance by -nSin per column
        for (int64_t u = uFrom; u < uTo; ++u, nU += nCos, nV -= nSin) {
            const int64_t su = (nU >> 10) + px, sv = (nV >> 10) + py;
            if (su < 0 || su >= w || sv < 0 || sv >= h) continue;
            // The rectangle may reach past its picture: what lies outside is transparent.
            const int64_t cx = sx + su, cy = sy + sv;
            if (cx < 0 || cy < 0 || cx >= sd.nWidth || cy >= sd.nHeight) continue;
            const uint8_t c = lpSrc[cy * sd.nPitch + cx];
            if (nFlags == 1 && c == 0) continue;
            lpRow[x + u - px] = c;
        }
    }
    DDUnlockSurface(dst);
    DDUnlockSurface(src);
    return true;
}
