#include "sheet.h"

#include <algorithm>

#include "app/png_write.h"
#include "layout.h"

namespace {

struct Placed {
    int nBitmap;
    int nMul, nDiv;  // drawn at nMul / nDiv of its size
};

}  // namespace

bool WriteContactSheet(const char* szFile, const std::vector<Canvas>& pictures) {
    const Placed items[] = {
        {ABMP_BATTLE_CHARA, 2, 1}, {ABMP_EFFECT, 2, 1},    {ABMP_MESSAGE, 2, 1},      {ABMP_OTHER, 4, 1},
        {ABMP_MOJI, 2, 1},         {ABMP_TITLE, 1, 2},     {ABMP_CHARA_SELECT, 1, 2}, {ABMP_OPTION, 1, 2},
        {ABMP_BATTLE_BG, 1, 2},    {ABMP_BG_GRASS, 1, 2},  {ABMP_BG_SOIL, 1, 2},      {ABMP_BG_ROAD, 1, 2},
        {ABMP_BG_SEA, 1, 2},       {ABMP_BG_DESERT, 1, 2}, {ABMP_BG_SWAMP, 1, 2},     {ABMP_BG_BRIDGE, 1, 2},
    };
    const int nSheetW = 1600, nGap = 8;
    // Lay out in rows first to learn the height.
    struct Spot {
        int x, y;
    };
    std::vector<Spot> spots;
    int x = nGap, y = nGap, nRowH = 0;
    for (const Placed& p : items) {
        const Canvas& cv = pictures[size_t(p.nBitmap)];
        int w = cv.nWidth * p.nMul / p.nDiv, h = cv.nHeight * p.nMul / p.nDiv;
        if (x + w + nGap > nSheetW) {
            x = nGap;
            y += nRowH + nGap;
            nRowH = 0;
        }
        spots.push_back({x, y});
        x += w + nGap;
        nRowH = std::max(nRowH, h);
    }
    const int nSheetH = y + nRowH + nGap;
    std::vector<uint8_t> sheet(size_t(nSheetW) * nSheetH, 3);
    for (size_t k = 0; k < std::size(items); ++k) {
        const Placed& p = items[k];
        const Canvas& cv = pictures[size_t(p.nBitmap)];
        auto idx = ToIndices(cv, p.nBitmap >= ABMP_BG_GRASS || cv.nWidth == 640);
        int w = cv.nWidth * p.nMul / p.nDiv, h = cv.nHeight * p.nMul / p.nDiv;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                int sx = i * p.nDiv / p.nMul, sy = j * p.nDiv / p.nMul;
                uint8_t n = idx[size_t(sy) * cv.nWidth + sx];
                if (n == 0) n = ((i / 8 + j / 8) & 1) ? 4 : 5;  // transparent as a checkerboard
                sheet[size_t(spots[k].y + j) * nSheetW + spots[k].x + i] = n;
            }
    }
    return SavePng(szFile, sheet.data(), nSheetW, nSheetH, nSheetW, GamePalette().data());
}
