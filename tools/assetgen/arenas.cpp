// The seven arenas, seen from above. Every arena shares one edge language: a dark drop
// along the screen border with a light rim inside it, so where a fighter falls out reads
// the same everywhere. Mid-bright, low-contrast grounds keep the outlined fighters clear.
#include "arenas.h"

#include "layout.h"
#include "shapes.h"

namespace {

constexpr int W = 640, H = 480;
constexpr float kTau = 6.2831853f;

int CycleIndex(float fTurns) {
    float f = fTurns - std::floor(fTurns);
    return kPalCycleFirst + std::min(8, int(f * 9));
}

float Edge(int x, int y) {
    return float(std::min({x, y, W - 1 - x, H - 1 - y}));
}

// The drop and rim along the border, and a gentle darkening toward it.
void EdgeBand(Canvas& cv, RGB drop, RGB rim) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float e = Edge(x, y);
            Pixel& p = cv.At(x, y);
            if (e < 7) {
                if (p.mode != PX_INDEX || e < 3) cv.Set(x, y, Mix(Scale(drop, 0.6f), drop, e / 7));
            } else if (e < 10) {
                cv.Set(x, y, rim);
            } else if (e < 34 && p.mode == PX_COLOR) {
                p.c = Scale(p.c, 0.8f + 0.2f * (e - 10) / 24);
            }
        }
}

void Ground(Canvas& cv, const std::function<RGB(float, float)>& f) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) cv.Set(x, y, f(x + 0.5f, y + 0.5f));
}

// Small scattered things: n of them at hashed positions, each painted by a shape.
void Scatter(Canvas& cv, int n, uint32_t seed, int nMargin,
             const std::function<float(float, float, float, float, uint32_t, RGB&)>& shape) {
    for (int k = 0; k < n; ++k) {
        float cx = nMargin + Noise01(uint32_t(k), 1, seed) * (W - 2 * nMargin);
        float cy = nMargin + Noise01(uint32_t(k), 2, seed) * (H - 2 * nMargin);
        uint32_t h = Hash(uint32_t(k), 3, seed);
        BlendShape(cv, int(cx) - 20, int(cy) - 20, int(cx) + 21, int(cy) + 21,
                   [&](float x, float y, RGB& c) { return shape(x, y, cx, cy, h, c); });
    }
}

void Grass(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        float n = Fbm(x / 40, y / 40, 11, 4);
        bool bStripe = (int(x + y * 0.0f) / 80) % 2 == 0;
        RGB c = Mix(RampColor(RAMP_GREEN, 7), RampColor(RAMP_GREEN, 9), n);
        if (bStripe) c = Mix(c, RampColor(RAMP_LIME, 8), 0.25f);
        if (Noise01(uint32_t(x), uint32_t(y), 12) > 0.93f) c = Mix(c, RampColor(RAMP_LIME, 10), 0.5f);
        return c;
    });
    Scatter(cv, 70, 13, 30, [](float x, float y, float cx, float cy, uint32_t h, RGB& c) {
        c = (h & 3) == 0 ? Hex(0xFFF6A0) : (h & 3) == 1 ? Hex(0xFFB4D0) : Hex(0xF8F8F0);
        return SdCircle(x, y, cx, cy, 1.6f) * 1.0f;
    });
    EdgeBand(cv, RampColor(RAMP_BROWN, 3), RampColor(RAMP_LIME, 11));
}

void Soil(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        float n = Fbm(x / 50, y / 50, 21, 5);
        RGB c = Mix(RampColor(RAMP_BROWN, 7), RampColor(RAMP_BROWN, 9), n);
        float crack = std::fabs(Fbm(x / 90, y / 90, 22, 3) - 0.5f);
        if (crack < 0.008f) c = RampColor(RAMP_BROWN, 4);
        return c;
    });
    Scatter(cv, 90, 23, 24, [](float x, float y, float cx, float cy, uint32_t h, RGB& c) {
        float r = 2.0f + float(h % 5);
        // Pebbles a little darker than light grey fighters, so nothing on the ground looks like one.
        c = Mix(RampColor(RAMP_BROWN, 6), RampColor(RAMP_SAND, 7),
                std::clamp((cy - y) / r * 0.5f + 0.5f, 0.0f, 1.0f));
        return SdEllipse(x, y, cx, cy, r * 1.3f, r);
    });
    EdgeBand(cv, RampColor(RAMP_BROWN, 1), RampColor(RAMP_SAND, 11));
}

void Road(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        RGB c = Mix(RampColor(RAMP_GREY, 6), RampColor(RAMP_GREY, 8), Fbm(x / 6, y / 6, 31, 2));
        if (std::fabs(y - 240) < 3 && int(x) % 64 < 36) c = RampColor(RAMP_YELLOW, 11);  // centre line
        if ((std::fabs(y - 120) < 2 || std::fabs(y - 360) < 2) && int(x) % 48 < 24) c = Hex(0xE8E8E8);
        if (x > 280 && x < 360 && int(y) % 32 < 16 && y > 40 && y < 440) c = Mix(c, Hex(0xF0F0F0), 0.85f);
        return c;
    });
    // Kerbs: red and white blocks just inside the drop, with lamps that run with the palette.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float e = Edge(x, y);
            if (e >= 10 && e < 20) {
                int nAlong = (x < 20 || x >= W - 20) ? y : x;
                cv.Set(x, y, (nAlong / 20) % 2 ? Hex(0xE8E4E0) : Hex(0xD03838));
            }
            if (e >= 24 && e < 27) {
                int nAlong = (x < 27 || x >= W - 27) ? y : x;
                if (nAlong % 40 < 6) cv.SetIndex(x, y, CycleIndex(nAlong / 40 / 9.0f));
            }
        }
    EdgeBand(cv, Hex(0x202428), RampColor(RAMP_GREY, 12));
}

void Sea(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        float n = Fbm(x / 70, y / 70, 41, 4);
        return Mix(RampColor(RAMP_SKY, 6), RampColor(RAMP_TEAL, 9), n);
    });
    // Caustics on the lagoon floor, in the cycling entries.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            // Thin and sparse, so the fighters above them stay the busiest thing on screen.
            float v = Fbm(x / 80.0f, y / 56.0f, 42, 2);
            float ridge = std::fabs(v - 0.5f);
            if (ridge < 0.008f) cv.SetIndex(x, y, CycleIndex((x + y) / 160.0f));
        }
    Scatter(cv, 14, 43, 60, [](float x, float y, float cx, float cy, uint32_t h, RGB& c) {
        c = (h & 1) ? Hex(0xF08C8C) : Hex(0xF8E0B0);  // shells and starfish on the floor
        return SdStar(x, y, cx, cy, 5, 2.2f, 5, float(h % 100) / 100 * kTau);
    });
    EdgeBand(cv, RampColor(RAMP_BLUE, 2), Hex(0xE8F8FF));
}

void Desert(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        float dune = std::sin((x * 0.6f + y) / 26 + Fbm(x / 120, y / 120, 51, 3) * 9);
        float n = Fbm(x / 30, y / 30, 52, 3);
        RGB c =
            Mix(RampColor(RAMP_SAND, 7), RampColor(RAMP_SAND, 9), 0.5f + 0.35f * dune + 0.15f * (n - 0.5f));
        return c;
    });
    Scatter(cv, 8, 53, 70, [](float x, float y, float cx, float cy, uint32_t h, RGB& c) {
        c = Mix(RampColor(RAMP_GREEN, 6), RampColor(RAMP_GREEN, 9),
                (cx - x) / 16 + 0.5f);  // cactus from above
        return std::min(SdCircle(x, y, cx, cy, 7), SdStar(x, y, cx, cy, 11, 5, 6, float(h % 7)));
    });
    EdgeBand(cv, RampColor(RAMP_BROWN, 3), RampColor(RAMP_SAND, 13));
}

void Swamp(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        float n = Fbm(x / 40, y / 40, 61, 4);
        return Mix(RampColor(RAMP_OLIVE, 8), RampColor(RAMP_OLIVE, 10), n);
    });
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float n = Fbm(x / 90.0f, y / 90.0f, 62, 3);
            if (n < 0.36f)
                cv.Set(x, y, Mix(RampColor(RAMP_TEAL, 4), RampColor(RAMP_OLIVE, 5), n / 0.36f));
            else if (n < 0.375f)
                cv.SetIndex(x, y, CycleIndex((x - y) / 120.0f));  // glinting puddle rims
        }
    Scatter(cv, 26, 63, 30, [](float x, float y, float cx, float cy, uint32_t h, RGB& c) {
        c = Mix(RampColor(RAMP_GREEN, 8), RampColor(RAMP_LIME, 9), float(h % 3) / 3);  // lily pads
        float a = std::atan2(y - cy, x - cx) - float(h % 628) / 100;
        float d = SdCircle(x, y, cx, cy, 6.0f + float(h % 4));
        return std::cos(a) > 0.95f ? std::max(d, 1.0f) : d;
    });
    EdgeBand(cv, RampColor(RAMP_OLIVE, 1), RampColor(RAMP_LIME, 10));
}

void Bridge(Canvas& cv) {
    Ground(cv, [](float x, float y) {
        int nPlank = int(x) / 32;
        float grain = Fbm(x / 40 + nPlank * 7.0f, y / 6, 71, 3);
        RGB c = Mix(RampColor(RAMP_BROWN, 8), RampColor(RAMP_BROWN, 10),
                    grain * 0.8f + Noise01(uint32_t(nPlank), 0, 72) * 0.3f);
        if (int(x) % 32 < 2) c = RampColor(RAMP_BROWN, 4);  // gaps
        float fNailY = std::fmod(y, 120.0f);
        if (std::hypot(std::fmod(x, 32.0f) - 16, fNailY - 60) < 1.8f) c = RampColor(RAMP_GREY, 11);
        return c;
    });
    // River under the bridge along the top and bottom, and rope rails.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int e = std::min(y, H - 1 - y);
            if (e < 22)
                cv.SetIndex(x, y, CycleIndex((x + e * 3) / 90.0f));
            else if (e < 28)
                cv.Set(x, y, RampColor(RAMP_SAND, (x / 6 + y) % 4 < 2 ? 11 : 8));
        }
    EdgeBand(cv, RampColor(RAMP_BLUE, 2), RampColor(RAMP_SAND, 13));
}

}  // namespace

Canvas PaintArena(int nArena) {
    Canvas cv(W, H);
    switch (nArena) {
        case 0:
            Grass(cv);
            break;
        case 1:
            Soil(cv);
            break;
        case 2:
            Road(cv);
            break;
        case 3:
            Sea(cv);
            break;
        case 4:
            Desert(cv);
            break;
        case 5:
            Swamp(cv);
            break;
        default:
            Bridge(cv);
            break;
    }
    return cv;
}
