// Text on surfaces: one Japanese Gothic font, UTF-8 text, lines 20 pixels apart.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

struct DDFONT;  // a face at one pixel size with its rendered glyphs
using HFONT = DDFONT*;

extern HFONT g_hFont;

// Colours are 0x00BBGGRR; glyphs are drawn in the index of g_BasePalette nearest to it.
inline constexpr uint32_t DDRGB(int r, int g, int b) {
    return uint32_t(r & 255) | uint32_t(g & 255) << 8 | uint32_t(b & 255) << 16;
}

// Creates the font nHeight pixels high (nWidth 0: the face's own proportions) into g_hFont,
// deleting any previous one. Null when no font can be opened.
HFONT DDCreateFont(int nWidth, int nHeight);
void DDDeleteFont();
// Draws UTF-8 szText with its top-left at (x, y); '\n' starts a line 20 pixels lower.
void DDTextOut(SURFACE& surf, int x, int y, uint32_t crColor, const char* szText);
// printf-style into a 256-byte buffer, then DDTextOut.
void DDTextOutF(SURFACE& surf, int x, int y, uint32_t crColor, const char* szFormat, ...)
    __attribute__((format(printf, 5, 6)));
// Draws the first line of szText nScale times larger, each glyph pixel an nScale x nScale block
// (a few big characters, such as a room code to read out).
void DDTextOutScaled(SURFACE& surf, int x, int y, uint32_t crColor, const char* szText, int nScale);
// The width in pixels of szText's first line in the font.
int DDTextWidth(const char* szText);
void DDDrawLines(SURFACE& surf, int x, int y, uint8_t nIndex, const char* szText);
int DDLineLength(const char* szText);
