// Battle effects, bmp/エフェクト.bmp: sparks, gauge stock icon and flashes, trap, shot, auras.
#include "ui.h"

#include "layout.h"
#include "shapes.h"

namespace {

const RGB kInk = Hex(0x18121E);
constexpr float kTau = 6.2831853f;

// A cycling entry (7..15) chosen by a phase in turns, so the battle's palette rotation
// makes the colours run along the shape.
int CycleIndex(float fTurns) {
    float f = fTurns - std::floor(fTurns);
    return kPalCycleFirst + std::min(8, int(f * 9));
}

void Spark(Canvas& cv, int x, int y, float fSize) {
    PaintSampled(cv, x, y, 32, 32, 4, [&](float u, float v) {
        Sample s;
        float r = std::hypot(u, v), a = std::atan2(v, u);
        float ray = fSize * (0.45f + 0.55f * std::pow(std::fabs(std::cos(a * 4)), 6.0f));
        if (r < ray) {
            float t = r / ray;
            s = {true, t < 0.35f   ? Hex(0xFFFFFF)
                       : t < 0.7f  ? Hex(0xFFF07C)
                       : t < 0.88f ? Hex(0xFFA030)
                                   : Hex(0xE04020)};
        }
        return s;
    });
}

// The stock flash is drawn centred on the body's top-left box corner, which lies outside the
// round body; the twinkle sits down-right of the piece's centre, on the body's upper-left rim.
// Frames: 1 a sharp glint, 2 the glint at full size with a ring, 3 a fading ring of sparkles.
void GaugeFlash(Canvas& cv, int x, int y, int nFrame) {
    const float c0 = 0.28f;
    PaintSampled(cv, x, y, 32, 32, 4, [&](float u, float v) {
        Sample s;
        float du = u - c0, dv = v - c0;
        float r = std::hypot(du, dv), a = std::atan2(dv, du);
        float fLen = nFrame == 1 ? 0.5f : nFrame == 2 ? 0.68f : 0.3f;
        float fStar = fLen * std::pow(std::fabs(std::cos(a * 2)), 10.0f) + 0.1f;
        if (nFrame >= 2) {
            float ring = nFrame == 2 ? 0.42f : 0.6f;
            bool bGap = nFrame == 3 && std::cos(a * 6) < 0.2f;
            if (!bGap && std::fabs(r - ring) < 0.1f) s = {true, kInk};
            if (!bGap && std::fabs(r - ring) < 0.05f) s = {true, Hex(0xFFD850)};
        }
        if (r < fStar + 0.1f) s = {true, kInk};
        if (r < fStar) s = {true, r < 0.16f ? Hex(0xFFFFFF) : Hex(0xFFF4A8)};
        return s;
    });
}

void Aura(Canvas& cv, int x, int y, int nSize, bool bSuction) {
    for (int j = 0; j < nSize; ++j)
        for (int i = 0; i < nSize; ++i) {
            float u = (i + 0.5f) / nSize * 2 - 1, v = (j + 0.5f) / nSize * 2 - 1;
            float r = std::hypot(u, v), a = std::atan2(v, u);
            if (r < 0.72f || r > 1.38f) continue;
            if (bSuction) {
                float phase = a / kTau * 3 + r * 1.6f;
                if (std::cos(phase * kTau) > -0.2f) cv.SetIndex(x + i, y + j, CycleIndex(phase));
            } else {
                // Only the part outside the body shows; at 16 pixels that is a pixel or two, so
                // the small flames are broader and stay yellow to their tips.
                const bool bSmall = nSize <= 16;
                float spike = bSmall ? 0.95f + 0.45f * std::pow(std::fabs(std::cos(a * 4 + 0.4f)), 1.5f)
                                     : 0.82f + 0.5f * std::pow(std::fabs(std::cos(a * 4 + 0.4f)), 3.0f);
                if (r < spike) {
                    float t = (r - 0.72f) / (spike - 0.72f);
                    cv.Set(x + i, y + j,
                           t < (bSmall ? 0.6f : 0.4f) ? Hex(0xFFF07C)
                           : t < 0.75f || bSmall      ? Hex(0xFF9828)
                                                      : Hex(0xE03020));
                }
            }
        }
}

}  // namespace

Canvas PaintEffect() {
    const AssetBitmapInfo& info = g_AssetBitmaps[ABMP_EFFECT];
    Canvas cv(info.nWidth, info.nHeight);
    Spark(cv, 0, 16, 0.5f);
    Spark(cv, 32, 16, 0.75f);
    Spark(cv, 64, 16, 1.0f);

    // Gauge stock: a golden orb with a star.
    PaintSampled(cv, 0, 48, 16, 16, 4, [&](float u, float v) {
        Sample s;
        float d = SdCircle(u, v, 0, 0, 0.92f);
        if (d < 0) s = {true, d > -0.2f ? kInk : Mix(Hex(0xFFF4A0), Hex(0xE88C10), (u + v + 2) / 4)};
        if (SdStar(u, v, 0, 0.05f, 0.6f, 0.26f, 5, -1.5708f) < 0) s = {true, Hex(0xFFFFFF)};
        return s;
    });
    for (int k = 1; k <= 3; ++k) GaugeFlash(cv, 0, 64 + 32 * k, k);  // frame 0 stays empty

    // Trap: a spiked mine with a red lamp.
    PaintSampled(cv, 32, 64, 32, 32, 4, [&](float u, float v) {
        Sample s;
        float dSpikes = SdStar(u, v, 0, 0, 0.95f, 0.55f, 8, 0);
        if (dSpikes < 0) s = {true, dSpikes > -0.09f ? kInk : Hex(0x8C8494)};
        float d = SdCircle(u, v, 0, 0, 0.62f);
        if (d < 0) s = {true, d > -0.1f ? kInk : Mix(Hex(0x6C5C84), Hex(0x302840), (u + v + 2) / 4)};
        if (SdCircle(u, v, 0, 0, 0.22f) < 0) s = {true, Hex(0xFF3030)};
        if (SdCircle(u, v, -0.07f, -0.07f, 0.08f) < 0) s = {true, Hex(0xFFC0C0)};
        return s;
    });

    // Shot: a bright core in a shimmering shell.
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) {
            float u = (i + 0.5f) / 16 - 1, v = (j + 0.5f) / 16 - 1, r = std::hypot(u, v);
            if (r < 0.3f)
                cv.Set(64 + i, 64 + j, Hex(0xFFFFFF));
            else if (r < 0.62f)
                cv.SetIndex(64 + i, 64 + j, CycleIndex(r * 1.5f + std::atan2(v, u) / kTau));
            else if (r < 0.74f)
                cv.Set(64 + i, 64 + j, Hex(0x2850B0));
        }

    Aura(cv, 32, 96, 32, false);
    Aura(cv, 64, 96, 32, true);
    Aura(cv, 32, 128, 64, false);
    Aura(cv, 96, 128, 64, true);
    Aura(cv, 96, 96, 16, false);
    Aura(cv, 112, 96, 16, true);
    return cv;
}
