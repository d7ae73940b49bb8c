#include <cmath>

#include "assets.h"
#include "layout.h"

namespace {

void Disc(Canvas& cv, int x, int y, int size, RGB c) {
    float r = size * 0.45f, cx = x + size * 0.5f, cy = y + size * 0.5f;
    for (int j = y; j < y + size; ++j)
        for (int i = x; i < x + size; ++i)
            if (std::hypot(i + 0.5f - cx, j + 0.5f - cy) < r) cv.Set(i, j, c);
}

}  // namespace

bool IsDitheredBitmap(int nBitmap) {
    return nBitmap == ABMP_TITLE || nBitmap == ABMP_OPTION || nBitmap == ABMP_CHARA_SELECT ||
           (nBitmap >= ABMP_BATTLE_BG && nBitmap != ABMP_BATTLE_CHARA && nBitmap != ABMP_EFFECT &&
               nBitmap != ABMP_MESSAGE && nBitmap != ABMP_OTHER);
}

Canvas PaintBitmap(int nBitmap) {
    const AssetBitmapInfo& info = g_AssetBitmaps[size_t(nBitmap)];
    Canvas cv(info.nWidth, info.nHeight);
    if (info.nWidth == 640) {
        for (int y = 0; y < 480; ++y) cv.Fill(0, y, 640, 1, Mix(RampColor(nBitmap, 6), RampColor(nBitmap, 9), y / 480.0f));
        return cv;
    }
    int k = 0;
    for (const AssetRect& r : g_AssetRects) {
        ++k;
        if (r.nBitmap != nBitmap) continue;
        for (int gy = 0; gy < r.nCountY; ++gy)
            for (int gx = 0; gx < r.nCountX; ++gx) {
                int x = r.nX + gx * r.nStepX, y = r.nY + gy * r.nStepY;
                if (nBitmap == ABMP_BATTLE_CHARA) {
                    if (gy == 0 && r.nCountY == 2) continue;   // sprite 0: the vanished body
                    Disc(cv, x, y, r.nW, RampColor(1 + gx % 14, 10));
                } else if (r.nW == r.nH) {
                    Disc(cv, x, y, r.nW, RampColor(1 + k % 14, 11));
                } else {
                    cv.Fill(x, y, r.nW, r.nH, RampColor(1 + k % 14, 8));
                }
            }
    }
    return cv;
}
