#include "gfx/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/palette.h"
#include "platform/plat_file.h"

namespace {

constexpr const char* FONT_FAMILY = "IPAGothic";
constexpr const char* FONT_DATA_FILE = "fonts/ipag.ttf";
constexpr const char* FONT_SUBSET_FILE = "fonts/pomrin-gothic.ttf";
constexpr int LINE_SPACING = 20;

struct GLYPH {
    int nLeft, nTop;  // bitmap position relative to the pen on the baseline
    int nWidth, nRows, nAdvance;
    std::vector<uint8_t> bits;  // one byte per pixel, 1 = ink
};

FT_Library g_ftLibrary = nullptr;

// The face file: a copy shipped in the data folder (the original IPA Gothic, or the subset
// the browser build ships under its own name), else the system's IPAGothic.
std::string FindFontFile() {
    std::error_code ec;
    for (const char* szFile : {FONT_DATA_FILE, FONT_SUBSET_FILE})
        if (std::filesystem::is_regular_file(std::filesystem::u8path(szFile), ec)) return szFile;
    return Plat_SystemFontFile(FONT_FAMILY);
}

// Decodes one UTF-8 character; malformed bytes read as U+FFFD one byte at a time.
char32_t NextChar(const uint8_t*& p, const uint8_t* end) {
    const uint8_t c = *p++;
    if (c < 0x80) return c;
    const int nMore = c >= 0xF5 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : -1;
    if (nMore < 0 || end - p < nMore) return 0xFFFD;
    char32_t cp = c & (0x3F >> nMore);
    for (int i = 0; i < nMore; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0xFFFD;
        cp = cp << 6 | (p[i] & 0x3F);
    }
    static constexpr char32_t MIN_CP[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < MIN_CP[nMore] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return 0xFFFD;
    p += nMore;
    return cp;
}

uint8_t NearestIndex(uint32_t crColor) {
    const int r = crColor & 255, g = crColor >> 8 & 255, b = crColor >> 16 & 255;
    int nBest = 0, nBestDist = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = g_BasePalette[i];
        const int d = (e.peRed - r) * (e.peRed - r) + (e.peGreen - g) * (e.peGreen - g) +
                      (e.peBlue - b) * (e.peBlue - b);
        if (d < nBestDist) nBest = i, nBestDist = d;
    }
    return uint8_t(nBest);
}

}  // namespace

struct DDFONT {
    FT_Face face = nullptr;
    int nAscent = 0;
    std::unordered_map<char32_t, GLYPH> glyphs;

    const GLYPH& Glyph(char32_t cp) {
        auto it = glyphs.find(cp);
        if (it != glyphs.end()) return it->second;
        GLYPH gl{0, 0, 0, 0, 0, {}};
        // Hinted one-bit rendering: crisp glyphs in one colour, as on an 8-bit display.
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
            const FT_GlyphSlot slot = face->glyph;
            const FT_Bitmap& bm = slot->bitmap;
            gl.nLeft = slot->bitmap_left;
            gl.nTop = slot->bitmap_top;
            gl.nAdvance = int((slot->advance.x + 32) >> 6);
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                gl.nWidth = int(bm.width);
                gl.nRows = int(bm.rows);
                gl.bits.resize(size_t(gl.nWidth) * gl.nRows);
                for (int r = 0; r < gl.nRows; ++r)
                    for (int k = 0; k < gl.nWidth; ++k)
                        gl.bits[size_t(r) * gl.nWidth + k] =
                            bm.buffer[r * bm.pitch + (k >> 3)] >> (7 - (k & 7)) & 1;
            }
        }
        return glyphs.emplace(cp, std::move(gl)).first->second;
    }
};

HFONT g_hFont = nullptr;

HFONT DDCreateFont(int nWidth, int nHeight) {
    DDDeleteFont();
    if (!g_ftLibrary && FT_Init_FreeType(&g_ftLibrary) != 0) {
        g_ftLibrary = nullptr;
        return nullptr;
    }
    FT_Face face;
    if (FT_New_Face(g_ftLibrary, FindFontFile().c_str(), 0, &face) != 0) return nullptr;
    const int nPixels = nHeight < 0 ? -nHeight : nHeight;
    if (FT_Set_Pixel_Sizes(face, FT_UInt(nWidth < 0 ? 0 : nWidth), FT_UInt(nPixels ? nPixels : 16)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    g_hFont = new DDFONT;
    g_hFont->face = face;
    g_hFont->nAscent = int(face->size->metrics.ascender >> 6);
    return g_hFont;
}

void DDDeleteFont() {
    if (!g_hFont) return;
    FT_Done_Face(g_hFont->face);
    delete g_hFont;
    g_hFont = nullptr;
}

int DDLineLength(const char* szText) {
    int n = 0;
    while (szText[n] != '\0' && szText[n] != '\n') ++n;
    return n;
}

namespace {

// Draws nBytes of szText; nScale > 1 draws every glyph pixel as an nScale x nScale block.
void DrawRun(SURFACE& surf, int x, int y, uint8_t nIndex, const char* szText, int nBytes, int nScale = 1) {
    if (!g_hFont) return;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(szText);
    const uint8_t* end = p + nBytes;
    const int nBaseline = y + g_hFont->nAscent * nScale;
    int nPen = x;
    while (p < end) {
        const GLYPH& gl = g_hFont->Glyph(NextChar(p, end));
        const int gx = nPen + gl.nLeft * nScale, gy = nBaseline - gl.nTop * nScale;
        for (int r = 0; r < gl.nRows * nScale; ++r) {
            const int py = gy + r;
            if (py < 0 || py >= surf.nHeight) continue;
            uint8_t* lpRow = surf.lpSurface.get() + size_t(py) * surf.nPitch;
            const uint8_t* lpBits = gl.bits.data() + size_t(r / nScale) * gl.nWidth;
            for (int k = 0; k < gl.nWidth * nScale; ++k) {
                const int px = gx + k;
                if (px >= 0 && px < surf.nWidth && lpBits[k / nScale]) lpRow[px] = nIndex;
            }
        }
        nPen += gl.nAdvance * nScale;
    }
}

}  // namespace

void DDDrawLines(SURFACE& surf, int x, int y, uint8_t nIndex, const char* szText) {
    if (g_bDrawOff) return;
    for (int nRow = y;; nRow += LINE_SPACING) {
        const int n = DDLineLength(szText);
        DrawRun(surf, x, nRow, nIndex, szText, n);
        if (szText[n] == '\0') break;
        szText += n + 1;
    }
}

void DDTextOut(SURFACE& surf, int x, int y, uint32_t crColor, const char* szText) {
    if (g_bDrawOff || !surf.lpSurface || surf.bLocked || !szText) return;
    DDDrawLines(surf, x, y, NearestIndex(crColor), szText);
}

void DDTextOutF(SURFACE& surf, int x, int y, uint32_t crColor, const char* szFormat, ...) {
    char szText[256];
    va_list args;
    va_start(args, szFormat);
    const int n = std::vsnprintf(szText, sizeof szText, szFormat ? szFormat : "", args);
    va_end(args);
    if (n < 0) szText[0] = '\0';
    DDTextOut(surf, x, y, crColor, szText);
}

void DDTextOutScaled(SURFACE& surf, int x, int y, uint32_t crColor, const char* szText, int nScale) {
    if (g_bDrawOff || !surf.lpSurface || surf.bLocked || !szText || nScale < 1) return;
    DrawRun(surf, x, y, NearestIndex(crColor), szText, DDLineLength(szText), nScale);
}

int DDTextWidth(const char* szText) {
    if (!g_hFont || !szText) return 0;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(szText);
    const uint8_t* end = p + DDLineLength(szText);
    int nWidth = 0;
    while (p < end) nWidth += g_hFont->Glyph(NextChar(p, end)).nAdvance;
    return nWidth;
}
