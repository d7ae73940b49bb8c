#include "gfx/palette.h"

#include <cmath>

#include "app/state_buf.h"
#include "gfx/bmp_file.h"
#include "platform/plat_display.h"

PALETTE g_BasePalette{};
PALETTE g_Palette{};
uint8_t g_bPaletteDirty = 0;
double g_dFadeOutAngle = 90.0;
double g_dFadeInAngle = 0.0;

namespace {

PALETTE g_DisplayPalette{};

bool ValidRange(int nFirst, int nLast) {
    return nFirst >= 0 && nLast <= 255 && nFirst <= nLast;
}

int FadeLevel(double dAngle) {
    return int(std::sin(dAngle * 0.017453292519943295) * 256);
}

}  // namespace

void DDSetPaletteEntries(int nFirst, int nCount, const PALETTEENTRY* lpEntries) {
    if (!lpEntries) return;
    for (int i = 0; i < nCount; ++i)
        if (nFirst + i >= 0 && nFirst + i < 256) g_DisplayPalette[nFirst + i] = lpEntries[i];
    PlatColor colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] = {g_DisplayPalette[i].peRed, g_DisplayPalette[i].peGreen, g_DisplayPalette[i].peBlue};
    Plat_SetPalette(colors);
}

const PALETTE& DDGetDisplayPalette() {
    return g_DisplayPalette;
}

bool DDLoadPaletteFromFile(PALETTE& lpPal, const char* szFile, int) {
    BMPFILE bmp;
    if (!DDReadBmpFile(szFile, bmp)) return false;
    for (int i = 0; i < 256; ++i) {
        const BMPCOLOR c = i < int(bmp.colors.size()) ? bmp.colors[i] : BMPCOLOR{0, 0, 0};
        lpPal[i] = {c.r, c.g, c.b, PC_RESERVED};
    }
    DDSetPaletteEntries(0, 256, lpPal.data());
    return true;
}

void DDFadePalette(PALETTE& lpDst, int nFirst, int nLast, int nLevel, int r, int g, int b,
                   const PALETTE& lpSrc) {
    lpDst = lpSrc;
    if (!ValidRange(nFirst, nLast)) return;
    const int tr = r & 255, tg = g & 255, tb = b & 255;
    for (int i = nFirst; i <= nLast; ++i) {
        lpDst[i].peRed = uint8_t((lpSrc[i].peRed * nLevel + tr * (256 - nLevel)) >> 8);
        lpDst[i].peGreen = uint8_t((lpSrc[i].peGreen * nLevel + tg * (256 - nLevel)) >> 8);
        lpDst[i].peBlue = uint8_t((lpSrc[i].peBlue * nLevel + tb * (256 - nLevel)) >> 8);
        lpDst[i].peFlags = PC_RESERVED;
    }
    DDSetPaletteEntries(nFirst, nLast - nFirst + 1, &lpDst[nFirst]);
}

bool DDFadeOutStep(PALETTE& lpDst, int nFirst, int nLast, int r, int g, int b, double dStep,
                   const PALETTE& lpSrc, int bFinish) {
    if (bFinish) g_dFadeOutAngle = 0.0;
    DDFadePalette(lpDst, nFirst, nLast, FadeLevel(g_dFadeOutAngle), r, g, b, lpSrc);
    if (g_dFadeOutAngle <= 0) {
        g_dFadeOutAngle = 90.0;
        return true;
    }
    g_dFadeOutAngle -= dStep;
    if (g_dFadeOutAngle < 0) g_dFadeOutAngle = 0.0;
    return false;
}

bool DDFadeInStep(PALETTE& lpDst, int nFirst, int nLast, int r, int g, int b, double dStep,
                  const PALETTE& lpSrc, int bFinish) {
    if (bFinish) g_dFadeInAngle = 90.0;
    DDFadePalette(lpDst, nFirst, nLast, FadeLevel(g_dFadeInAngle), r, g, b, lpSrc);
    if (g_dFadeInAngle >= 90) {
        g_dFadeInAngle = 0.0;
        return true;
    }
    g_dFadeInAngle += dStep;
    if (g_dFadeInAngle > 90) g_dFadeInAngle = 90.0;
    return false;
}

void DDCyclePalette(PALETTE& lpDst, int nFirst, int nLast, int nCount, int nDir, const PALETTE& lpSrc) {
    const PALETTE src = lpSrc;  // lpSrc may be lpDst
    lpDst = src;
    if (!ValidRange(nFirst, nLast)) return;
    const int nLen = nLast - nFirst + 1;
    if (nCount < 0 || nCount > nLen || (nDir != 0 && nDir != 1)) return;
    // Moving the last nCount entries to the front and the others up is a rotation of the range.
    const int nShift = nDir == 0 ? nCount : nLen - nCount;
    for (int i = 0; i < nLen; ++i) lpDst[nFirst + (i + nShift) % nLen] = src[nFirst + i];
}

void PaletteStateIo(STATEBUF* lpBuf) {
    StateRecord(lpBuf, g_Palette);
    StateRecord(lpBuf, g_DisplayPalette);
    StateField(lpBuf, g_bPaletteDirty);
    StateField(lpBuf, g_dFadeOutAngle);
    StateField(lpBuf, g_dFadeInAngle);
    if (lpBuf->bRestore) {
        const PALETTE pal = g_DisplayPalette;
        DDSetPaletteEntries(0, 256, pal.data());
    }
}
