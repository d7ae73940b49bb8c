#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "layout.h"

namespace {

constexpr int kRampFirst = 16;

// Shade 10 of each ramp; darker shades fall toward a cool black, lighter ones toward white.
constexpr std::array<uint32_t, RAMP_COUNT> kRampBase = {
    0x9496A0, 0xDC2A34, 0xF0821E, 0xFAD428, 0x96D232, 0x32965A, 0x1EA096, 0x46AAEB,
    0x3C5AD2, 0x8A44C8, 0xF06EAA, 0x8C5A32, 0xE6BE82, 0x6E783C, 0xE0AA28,
};

// The loop of entries 7..15: a brightness wave in aqua, so rotating it looks like light
// running over water or glass.
RGB CycleColor(int k) {
    float a = float(k) / 9.0f * 6.2831853f;
    RGB c = Mix(Hex(0x1C5C9C), Hex(0xC8F4FF), 0.5f + 0.5f * std::cos(a));
    c.g += 22 * std::sin(a);  // a hue drift that keeps the rising and falling halves apart
    c.r -= 14 * std::sin(a);
    return c;
}

std::array<PlatColor, 256> BuildPalette() {
    std::array<PlatColor, 256> pal{};
    auto put = [&](int i, RGB c) {
        pal[i] = {uint8_t(std::clamp(std::lround(c.r), 0L, 255L)),
                  uint8_t(std::clamp(std::lround(c.g), 0L, 255L)),
                  uint8_t(std::clamp(std::lround(c.b), 0L, 255L))};
    };
    put(kPalTransparent, {0, 0, 0});
    put(kPalWhite, {255, 255, 255});
    put(2, Hex(0x18121E));  // outlines
    put(3, Hex(0x3A3440));
    put(4, Hex(0x6C6874));
    put(5, Hex(0xB4B0B8));
    put(6, Hex(0xF4EEDC));  // warm paper white
    for (int k = 0; k < 9; ++k) put(kPalCycleFirst + k, CycleColor(k));
    for (int r = 0; r < RAMP_COUNT; ++r)
        for (int s = 0; s < 16; ++s) put(kRampFirst + r * 16 + s, RampColor(r, s));
    return pal;
}

// Entries colour matching may pick: everything but the key and the cycling loop.
bool Pickable(int i) {
    return i != kPalTransparent && (i < kPalCycleFirst || i > kPalCycleLast);
}

}  // namespace

RGB RampColor(int nRamp, int nShade) {
    RGB base = Hex(kRampBase[size_t(nRamp)]);
    if (nShade <= 10) {
        RGB dark = Mix(Hex(0x0C0A16), base, 0.12f);
        float t = float(nShade) / 10.0f;
        return Mix(dark, base, std::pow(t, 0.85f));
    }
    return Mix(base, {255, 255, 255}, float(nShade - 10) / 5.0f * 0.82f);
}

int RampIndex(int nRamp, int nShade) {
    return kRampFirst + nRamp * 16 + std::clamp(nShade, 0, 15);
}

const std::array<PlatColor, 256>& GamePalette() {
    static const std::array<PlatColor, 256> pal = BuildPalette();
    return pal;
}

uint8_t NearestIndex(RGB c) {
    // 6 bits per channel is finer than any two palette entries lie apart.
    static std::vector<int16_t> cache(64 * 64 * 64, -1);
    int r = std::clamp(int(c.r) >> 2, 0, 63), g = std::clamp(int(c.g) >> 2, 0, 63),
        b = std::clamp(int(c.b) >> 2, 0, 63);
    int16_t& slot = cache[size_t((r * 64 + g) * 64 + b)];
    if (slot >= 0) return uint8_t(slot);
    const auto& pal = GamePalette();
    float fr = r * 4 + 2, fg = g * 4 + 2, fb = b * 4 + 2;
    float best = 1e30f;
    int nBest = kPalWhite;
    for (int i = 0; i < 256; ++i) {
        if (!Pickable(i)) continue;
        float dr = fr - pal[i].r, dg = fg - pal[i].g, db = fb - pal[i].b;
        float rm = (fr + pal[i].r) * 0.5f;
        float d = (2 + rm / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256) * db * db;
        if (d < best) {
            best = d;
            nBest = i;
        }
    }
    slot = int16_t(nBest);
    return uint8_t(nBest);
}

namespace {
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
}

RGB Dithered(RGB c, int x, int y, float fAmp) {
    float d = (kBayer[y & 3][x & 3] - 7.5f) * fAmp;
    return {c.r + d, c.g + d, c.b + d};
}

std::vector<uint8_t> ToIndices(const Canvas& cv, bool bDither) {
    std::vector<uint8_t> out(size_t(cv.nWidth) * cv.nHeight);
    for (int y = 0; y < cv.nHeight; ++y)
        for (int x = 0; x < cv.nWidth; ++x) {
            const Pixel& p = cv.At(x, y);
            uint8_t n = 0;
            if (p.mode == PX_INDEX) {
                n = p.nIndex;
            } else if (p.mode == PX_COLOR) {
                RGB c = p.c;
                if (bDither) c = Dithered(c, x, y, 1.6f);
                n = NearestIndex(c);
            }
            out[size_t(y) * cv.nWidth + x] = n;
        }
    return out;
}

void Canvas::Blend(int x, int y, RGB c, float a) {
    if (!Inside(x, y) || a <= 0) return;
    Pixel& p = At(x, y);
    if (p.mode != PX_COLOR || a >= 1) {
        if (p.mode == PX_COLOR || a >= 0.5f) p = {c, 0, PX_COLOR};
        return;
    }
    p.c = Mix(p.c, c, a);
}

void Canvas::Fill(int x, int y, int w, int h, RGB c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::Paste(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.nHeight; ++j)
        for (int i = 0; i < src.nWidth; ++i)
            if (src.At(i, j).mode != PX_CLEAR && Inside(x + i, y + j)) At(x + i, y + j) = src.At(i, j);
}

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Noise01(uint32_t x, uint32_t y, uint32_t seed) {
    return float(Hash(x, y, seed) & 0xFFFFFF) / 16777215.0f;
}

float ValueNoise(float x, float y, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto n = [&](int a, int b) { return Noise01(uint32_t(ix + a), uint32_t(iy + b), seed); };
    float top = n(0, 0) + (n(1, 0) - n(0, 0)) * tx;
    float bot = n(0, 1) + (n(1, 1) - n(0, 1)) * tx;
    return top + (bot - top) * ty;
}

float Fbm(float x, float y, uint32_t seed, int nOctaves) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < nOctaves; ++o) {
        sum += amp * ValueNoise(x, y, seed + uint32_t(o) * 101u);
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}
