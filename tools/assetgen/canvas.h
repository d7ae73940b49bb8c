// Pictures are painted in RGB, then turned into indices of the one game palette.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/plat_display.h"

struct RGB {
    float r = 0, g = 0, b = 0;
};

inline RGB Mix(RGB a, RGB b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline RGB Scale(RGB a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline RGB Hex(uint32_t v) {
    return {float(v >> 16 & 255), float(v >> 8 & 255), float(v & 255)};
}

// A pixel is transparent (index 0), a colour to be matched, or a fixed palette index
// (the cycling entries are never chosen by colour matching, only placed on purpose).
enum PixelMode : uint8_t { PX_CLEAR = 0, PX_COLOR = 1, PX_INDEX = 2 };

struct Pixel {
    RGB c;
    uint8_t nIndex = 0;
    PixelMode mode = PX_CLEAR;
};

struct Canvas {
    int nWidth = 0, nHeight = 0;
    std::vector<Pixel> px;

    Canvas() = default;
    Canvas(int w, int h) : nWidth(w), nHeight(h), px(size_t(w) * h) {}
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < nWidth && y < nHeight; }
    Pixel& At(int x, int y) { return px[size_t(y) * nWidth + x]; }
    const Pixel& At(int x, int y) const { return px[size_t(y) * nWidth + x]; }

    void Set(int x, int y, RGB c) {
        if (Inside(x, y)) At(x, y) = {c, 0, PX_COLOR};
    }
    void SetIndex(int x, int y, int n) {
        if (Inside(x, y)) At(x, y) = {{}, uint8_t(n), PX_INDEX};
    }
    void Clear(int x, int y) {
        if (Inside(x, y)) At(x, y) = {};
    }
    // Blends c over the pixel with coverage a; a clear pixel becomes c when a >= 0.5,
    // so keyed pictures get hard edges and no dark fringe.
    void Blend(int x, int y, RGB c, float a);
    void Fill(int x, int y, int w, int h, RGB c);
    // Copies a canvas (clear pixels left out) with its top-left at (x, y).
    void Paste(const Canvas& src, int x, int y);
};

// c with the ordered-dither offset of pixel (x, y), fAmp per matrix step: gradients in pictures
// that are not dithered as a whole (panels) then fall between palette entries without bands.
RGB Dithered(RGB c, int x, int y, float fAmp);

// The game palette (the colour table of every written bitmap).
const std::array<PlatColor, 256>& GamePalette();
// Nearest palette entry to c among the entries pictures are painted with.
uint8_t NearestIndex(RGB c);
// The canvas as palette indices, rows top-down; bDither adds a light ordered dither.
std::vector<uint8_t> ToIndices(const Canvas& cv, bool bDither);

// Named colours of the palette's ramps, shade 0 (darkest) .. 15 (lightest).
enum Ramp {
    RAMP_GREY,
    RAMP_RED,
    RAMP_ORANGE,
    RAMP_YELLOW,
    RAMP_LIME,
    RAMP_GREEN,
    RAMP_TEAL,
    RAMP_SKY,
    RAMP_BLUE,
    RAMP_PURPLE,
    RAMP_PINK,
    RAMP_BROWN,
    RAMP_SAND,
    RAMP_OLIVE,
    RAMP_GOLD,
    RAMP_COUNT
};
RGB RampColor(int nRamp, int nShade);
int RampIndex(int nRamp, int nShade);

// Deterministic noise for textures.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed);
float Noise01(uint32_t x, uint32_t y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed);  // smooth, 0..1
float Fbm(float x, float y, uint32_t seed, int nOctaves);
