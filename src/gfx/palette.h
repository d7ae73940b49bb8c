// The 256-entry palette: the game palette, the working copy the effects write, the display palette.
#pragma once
#include <array>
#include <cstdint>

struct PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};
enum { PC_RESERVED = 1 };

using PALETTE = std::array<PALETTEENTRY, 256>;

extern PALETTE g_BasePalette;  // as loaded; the source of every fade
extern PALETTE g_Palette;      // the working palette, uploaded by the frame while g_bPaletteDirty
extern uint8_t g_bPaletteDirty;
extern double g_dFadeOutAngle;  // 90.0 when no fade-out runs
extern double g_dFadeInAngle;   // 0.0 when no fade-in runs

struct STATEBUF;
// Saves or restores the working palette, the display palette (restoring uploads it), the
// dirty flag and both fade angles. g_BasePalette is loaded once at start-up and never changes.
void PaletteStateIo(STATEBUF* lpBuf);

// Replaces nCount display palette entries from nFirst with lpEntries[0..nCount-1].
// Out-of-range parts are ignored.
void DDSetPaletteEntries(int nFirst, int nCount, const PALETTEENTRY* lpEntries);
// The display palette as it is now.
const PALETTE& DDGetDisplayPalette();

// Reads the colour table of a BMP file into lpPal (entries beyond a short table are black)
// and uploads all of it. False when the file cannot be read.
bool DDLoadPaletteFromFile(PALETTE& lpPal, const char* szFile, int bSysColors);

void DDFadePalette(PALETTE& lpDst, int nFirst, int nLast, int nLevel, int r, int g, int b,
                   const PALETTE& lpSrc);
// One step per frame; true on the call that completes the fade.
bool DDFadeOutStep(PALETTE& lpDst, int nFirst, int nLast, int r, int g, int b, double dStep,
                   const PALETTE& lpSrc, int bFinish);
bool DDFadeInStep(PALETTE& lpDst, int nFirst, int nLast, int r, int g, int b, double dStep,
                  const PALETTE& lpSrc, int bFinish);
// Rotates entries nFirst..nLast by nCount: nDir 0 toward higher numbers, 1 toward lower.
// lpSrc may be lpDst. Nothing is uploaded.
void DDCyclePalette(PALETTE& lpDst, int nFirst, int nLast, int nCount, int nDir, const PALETTE& lpSrc);
