// Lettering for the pictures, rendered with FreeType from the game's Gothic face.
#pragma once
#include <vector>

#include "canvas.h"

struct TextMask {
    int nWidth = 0, nHeight = 0;
    std::vector<float> a;  // coverage 0..1
    float At(int x, int y) const {
        return x < 0 || y < 0 || x >= nWidth || y >= nHeight ? 0.0f : a[size_t(y) * nWidth + x];
    }
};

// szUtf8 in one line at nPixels em size, strokes thickened by fBold pixels; an empty mask
// when the face cannot be loaded.
TextMask RenderText(const char* szUtf8, int nPixels, float fBold = 0);

struct TextStyle {
    RGB top, bottom;  // fill, a vertical gradient
    RGB outline;
    float fOutline = 2;  // outline width in pixels (0: none)
    bool bShadow = true;
};

// Draws the text centred on (cx, cy).
void DrawTextCentred(Canvas& cv, float cx, float cy, const char* szUtf8, int nPixels, const TextStyle& st,
                     float fBold = 0);
void DrawTextMask(Canvas& cv, int x, int y, const TextMask& m, const TextStyle& st);
