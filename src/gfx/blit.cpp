#include "gfx/blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

bool Inside(int64_t l, int64_t t, int64_t r, int64_t b, const SURFACE& surf) {
    return l >= 0 && t >= 0 && r <= surf.nWidth && b <= surf.nHeight;
}

// Writing into the screen surface is what shows a picture.
void ShowIfScreen(const SURFACE& dst) {
    if (&dst == &g_Primary) DDPresent();
}

}  // namespace

void DDBltClip(SURFACE& dst, int dx, int dy, int w, int h, const SURFACE& src, int sx, int sy, int nFlags) {
    if (g_bDrawOff || !dst.lpSurface || !src.lpSurface) return;
    // 64-bit edges: no coordinate the caller passes can overflow.
    int64_t l = sx, t = sy, r = int64_t(sx) + w, b = int64_t(sy) + h;
    int64_t x = dx, y = dy;
    if (l < 0) l = 0;
    if (t < 0) t = 0;
    if (r > src.nWidth) r = src.nWidth;
    if (b > src.nHeight) b = src.nHeight;
    if (x < 0) {
        l -= x;
        x = 0;
    } else if (x + (r - l) > dst.nWidth) {
        r = l + dst.nWidth - x;
    }
    if (y < 0) {
        t -= y;
        y = 0;
    } else if (y + (b - t) > dst.nHeight) {
        b = t + dst.nHeight - y;
    }
    // What still does not fit after trimming is refused as a whole.
    if (r <= l || b <= t || !Inside(l, t, r, b, src) || !Inside(x, y, x + (r - l), y + (b - t), dst)) return;
    const size_t nCols = size_t(r - l);
    for (int64_t row = 0; row < b - t; ++row) {
        const uint8_t* lpSrc = src.lpSurface.get() + (t + row) * src.nPitch + l;
        uint8_t* lpDst = dst.lpSurface.get() + (y + row) * dst.nPitch + x;
        if (nFlags == 1 && src.bColorKey) {
            for (size_t k = 0; k < nCols; ++k)
                if (lpSrc[k] != 0) lpDst[k] = lpSrc[k];
        } else {
            std::memmove(lpDst, lpSrc, nCols);
        }
    }
    ShowIfScreen(dst);
}

void DDBltStretch(SURFACE& dst, int dx, int dy, int dw, int dh, const SURFACE& src, int sx, int sy, int sw,
                  int sh, int nFlags) {
    if (g_bDrawOff || dw <= 0 || dh <= 0 || !dst.lpSurface || !src.lpSurface) return;
    const double fx = double(sw) / dw, fy = double(sh) / dh;
    int64_t dl = dx, dt = dy, dr = int64_t(dx) + dw, db = int64_t(dy) + dh;
    int64_t sl = sx, st = sy, sr = int64_t(sx) + sw, sb = int64_t(sy) + sh;
    if (sx < 0) sl = 0;
    if (sy < 0) st = 0;
    if (sr - sl > src.nWidth) sr = src.nWidth;
    if (sb - st > src.nHeight) sb = src.nHeight;
    if (dl < 0) {
        sl += int64_t(double(-dl) * fx);
        dl = 0;
    }
    if (dr > dst.nWidth) {
        sr -= int64_t(double(dr - dst.nWidth) * fx);
        dr = dst.nWidth;
    }
    if (dt < 0) {
        st += int64_t(double(-dt) * fy);
        dt = 0;
    }
    if (db > dst.nHeight) {
        sb -= int64_t(double(db - dst.nHeight) * fy);
        db = dst.nHeight;
    }
    if (dr <= dl || db <= dt || sr <= sl || sb <= st || !Inside(sl, st, sr, sb, src) ||
        !Inside(dl, dt, dr, db, dst))
        return;
    // Nearest neighbour: destination pixel k takes source pixel k * size / size.
    std::vector<int64_t> nColumn(size_t(dr - dl));
    for (int64_t k = 0; k < dr - dl; ++k) nColumn[size_t(k)] = sl + k * (sr - sl) / (dr - dl);
    const bool bKeyed = nFlags == 1 && src.bColorKey;
    for (int64_t j = 0; j < db - dt; ++j) {
        const uint8_t* lpSrc = src.lpSurface.get() + (st + j * (sb - st) / (db - dt)) * src.nPitch;
        uint8_t* lpDst = dst.lpSurface.get() + (dt + j) * dst.nPitch + dl;
        for (size_t k = 0; k < nColumn.size(); ++k) {
            const uint8_t c = lpSrc[nColumn[k]];
            if (!bKeyed || c != 0) lpDst[k] = c;
        }
    }
    ShowIfScreen(dst);
}

void DDFillRect(SURFACE& surf, int x, int y, int w, int h, int nColor) {
    if (g_bDrawOff || !surf.lpSurface) return;
    int64_t l = x, t = y, r = int64_t(x) + w, b = int64_t(y) + h;
    if (x < 0)
        l = 0;
    else if (r > surf.nWidth)
        r = surf.nWidth;
    if (y < 0)
        t = 0;
    else if (b > surf.nHeight)
        b = surf.nHeight;
    if (r <= l || b <= t || !Inside(l, t, r, b, surf)) return;
    for (int64_t row = t; row < b; ++row)
        std::memset(surf.lpSurface.get() + row * surf.nPitch + l, uint8_t(nColor), size_t(r - l));
    ShowIfScreen(surf);
}

void DDFrameRect(SURFACE& surf, int x, int y, int w, int h, int nColor) {
    DDFillRect(surf, x, y, w, 1, nColor);
    DDFillRect(surf, x, y + h - 1, w, 1, nColor);
    DDFillRect(surf, x, y, 1, h, nColor);
    DDFillRect(surf, x + w - 1, y, 1, h, nColor);
}

void DDBltFramed(SURFACE& dst, int dx, int dy, int w, int h, const SURFACE& src, int sx, int sy, int nColor) {
    DDBltClip(dst, dx, dy, w, h, src, sx, sy, 0);
    DDFrameRect(dst, dx - 1, dy - 1, w + 2, h + 2, nColor);
}

void DDBurstOffsets(int nRadius, std::array<int, 8>& A, std::array<int, 8>& B) {
    // Degrees times the double nearest pi/180: the last-bit differences decide some offsets.
    static constexpr int nDegrees[8] = {30, 60, 120, 150, 210, 240, 300, 330};
    // Radii beyond the screen's size would only move the wedges further off screen.
    const double dRadius = std::clamp(nRadius, -1000000, 1000000);
    for (int k = 0; k < 8; ++k) {
        const double dAngle = nDegrees[k] * 0.017453292519943295;
        A[k] = int(dRadius * std::fabs(std::cos(dAngle)));
        B[k] = int(dRadius * std::fabs(std::sin(dAngle)));
    }
}

void DDBltBurst(SURFACE& dst, int x, int y, int w, int h, const SURFACE& src, int sx, int sy, int nRadius,
                int nFlags) {
    const int hw = w / 2, hh = h / 2;
    if (g_bDrawOff || hh <= 0) return;
    std::array<int, 8> A, B;
    DDBurstOffsets(nRadius, A, B);
    for (int i = 0; i < hh; ++i) {
        DDBltClip(dst, x - A[0], y + i - B[0], i, 1, src, sx, sy + i, nFlags);
        DDBltClip(dst, x + i - A[1], y + i - B[1], hw - i, 1, src, sx + i, sy + i, nFlags);
        DDBltClip(dst, x + hw + A[2], y + i - B[2], hw - i, 1, src, sx + hw, sy + i, nFlags);
        DDBltClip(dst, x + 2 * hw - i + A[3], y + i - B[3], i, 1, src, sx + 2 * hw - i, sy + i, nFlags);
        DDBltClip(dst, x - A[4], y + hw + i + B[4], hw - i, 1, src, sx, sy + hw + i, nFlags);
        DDBltClip(dst, x + hw - i - A[5], y + hw + i + B[5], i, 1, src, sx + hw - i, sy + hw + i, nFlags);
        DDBltClip(dst, x + hw + A[6], y + hw + i + B[6], i, 1, src, sx + hw, sy + hw + i, nFlags);
        DDBltClip(dst, x + hw + i + A[7], y + hw + i + B[7], hw - i, 1, src, sx + hw + i, sy + hw + i,
                  nFlags);
    }
}
