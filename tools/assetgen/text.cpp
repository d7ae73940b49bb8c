#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const char* const kFontPaths[] = {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                                  "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf"};

std::vector<uint32_t> Decode(const char* sz) {
    std::vector<uint32_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(sz);
    while (*p) {
        uint32_t c = *p++;
        int nMore = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (nMore) c &= 0x3F >> nMore;
        for (; nMore > 0 && (*p & 0xC0) == 0x80; --nMore) c = c << 6 | (*p++ & 0x3F);
        out.push_back(c);
    }
    return out;
}

}  // namespace

TextMask RenderText(const char* szUtf8, int nPixels, float fBold) {
    TextMask m;
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib)) return m;
    for (const char* szPath : kFontPaths)
        if (!FT_New_Face(lib, szPath, 0, &face)) break;
    if (!face) {
        FT_Done_FreeType(lib);
        return m;
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(nPixels));
    const int nAscent = int(face->size->metrics.ascender >> 6);
    const int nLineH = int((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
    auto text = Decode(szUtf8);
    int nPen = 0;
    for (uint32_t c : text)
        if (!FT_Load_Char(face, c, FT_LOAD_DEFAULT)) nPen += int(face->glyph->advance.x >> 6);
    m.nWidth = std::max(1, nPen);
    m.nHeight = std::max(1, nLineH);
    m.a.assign(size_t(m.nWidth) * m.nHeight, 0.0f);
    nPen = 0;
    for (uint32_t c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_NO_BITMAP)) continue;
        if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && fBold > 0)
            FT_Outline_Embolden(&face->glyph->outline, FT_Pos(fBold * 64));
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        int x0 = nPen + face->glyph->bitmap_left, y0 = nAscent - face->glyph->bitmap_top;
        for (unsigned j = 0; j < bm.rows; ++j)
            for (unsigned i = 0; i < bm.width; ++i) {
                int x = x0 + int(i), y = y0 + int(j);
                if (x < 0 || y < 0 || x >= m.nWidth || y >= m.nHeight) continue;
                float v = bm.buffer[j * unsigned(bm.pitch) + i] / 255.0f;
                float& a = m.a[size_t(y) * m.nWidth + x];
                a = std::max(a, v);
            }
        nPen += int(face->glyph->advance.x >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return m;
}

void DrawTextMask(Canvas& cv, int x, int y, const TextMask& m, const TextStyle& st) {
    const int nR = int(std::ceil(st.fOutline)) + 1;
    // Outline and shadow: coverage of the mask grown by the outline width.
    auto grown = [&](int i, int j) {
        float best = 0;
        for (int dj = -nR; dj <= nR; ++dj)
            for (int di = -nR; di <= nR; ++di) {
                float d = std::hypot(float(di), float(dj));
                if (d > st.fOutline + 0.5f) continue;
                best = std::max(best, m.At(i + di, j + dj) * std::clamp(st.fOutline + 0.5f - d, 0.0f, 1.0f));
            }
        return best;
    };
    if (st.bShadow)
        for (int j = -nR; j < m.nHeight + nR; ++j)
            for (int i = -nR; i < m.nWidth + nR; ++i) {
                float a = st.fOutline > 0 ? grown(i - 2, j - 2) : m.At(i - 2, j - 2);
                if (a > 0) cv.Blend(x + i, y + j, Hex(0x18121E), a * 0.8f);
            }
    if (st.fOutline > 0)
        for (int j = -nR; j < m.nHeight + nR; ++j)
            for (int i = -nR; i < m.nWidth + nR; ++i) {
                float a = grown(i, j);
                if (a > 0) cv.Blend(x + i, y + j, st.outline, a);
            }
    for (int j = 0; j < m.nHeight; ++j)
        for (int i = 0; i < m.nWidth; ++i) {
            float a = m.At(i, j);
            if (a > 0) cv.Blend(x + i, y + j, Mix(st.top, st.bottom, float(j) / float(m.nHeight)), a);
        }
}

void DrawTextCentred(Canvas& cv, float cx, float cy, const char* szUtf8, int nPixels, const TextStyle& st,
                     float fBold) {
    TextMask m = RenderText(szUtf8, nPixels, fBold);
    DrawTextMask(cv, int(std::lround(cx - m.nWidth / 2.0f)), int(std::lround(cy - m.nHeight / 2.0f)), m, st);
}
