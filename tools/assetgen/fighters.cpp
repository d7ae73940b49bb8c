// The twelve fighters, drawn from one description each at 32, 64 and 16 pixels. The face
// looks along a gaze direction so the turning of the body shows; player 1's still images
// look toward player 2's start corner, all other sprites toward player 1's.
#include "fighters.h"

#include <array>

#include "layout.h"
#include "shapes.h"

namespace {

const RGB kInk = Hex(0x18121E);

struct Look {
    float gx, gy;  // unit gaze direction
    float ow;      // outline width in sprite units (-1..1 across)
};

void Put(Sample& s, float d, RGB c) {
    if (d < 0) s = {true, c};
}
// A shape with its own dark rim of width ow.
void PutRimmed(Sample& s, float d, RGB c, float ow) {
    if (d < 0) s = {true, d > -ow ? kInk : c};
}

// Shade n of a ramp lit as a ball centred on (cx, cy) with radius r, light from the top left.
RGB Ball(int nRamp, int nShade, float x, float y, float cx, float cy, float r) {
    float nx = (x - cx) / r, ny = (y - cy) / r;
    float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    float l = std::max(0.0f, -0.45f * nx - 0.55f * ny + 0.70f * nz);
    int n = nShade + int(std::lround((l - 0.62f) * 7.0f));
    if (std::hypot(nx + 0.38f, ny + 0.45f) < 0.17f) n = 15;  // highlight
    return RampColor(nRamp, std::clamp(n, 0, 15));
}

// Eyes, mouth and cheeks around the face centre (fx, fy); nStyle picks the expression.
enum { FACE_CUTE, FACE_OLD, FACE_ANGRY, FACE_SNEER, FACE_NONE };
void Face(Sample& s, float x, float y, float fx, float fy, float k, int nStyle, RGB eye = kInk) {
    float ex = 0.27f * k, ey = -0.05f * k;
    if (nStyle == FACE_SNEER) {
        for (int side = -1; side <= 1; side += 2)
            Put(s,
                SdSegment(x, y, fx + side * ex - 0.11f * k, fy + ey + (side < 0 ? 0.02f : -0.02f) * k,
                          fx + side * ex + 0.11f * k, fy + ey - (side < 0 ? 0.02f : -0.02f) * k, 0.05f * k),
                eye);
        float dm = std::max(SdEllipse(x, y, fx + 0.04f * k, fy + 0.25f * k, 0.32f * k, 0.16f * k),
                            -(y - fy - 0.2f * k));
        PutRimmed(s, dm, Hex(0xFFFFFF), 0.06f * k);
        return;
    }
    if (nStyle == FACE_NONE) return;
    for (int side = -1; side <= 1; side += 2) {
        float cx = fx + side * ex, cy = fy + ey;
        if (nStyle == FACE_OLD) {
            Put(s, SdSegment(x, y, cx - 0.08f * k, cy, cx + 0.08f * k, cy, 0.035f * k), eye);
        } else {
            Put(s, SdEllipse(x, y, cx, cy, 0.095f * k, 0.14f * k), eye);
            Put(s, SdCircle(x, y, cx - 0.03f * k, cy - 0.05f * k, 0.04f * k), Hex(0xFFFFFF));
        }
        if (nStyle == FACE_ANGRY)
            Put(s,
                SdSegment(x, y, cx - side * 0.14f * k, cy - 0.13f * k, cx + side * 0.12f * k, cy - 0.25f * k,
                          0.04f * k),
                kInk);
    }
    if (nStyle == FACE_CUTE) {
        for (int side = -1; side <= 1; side += 2)
            Put(s, SdEllipse(x, y, fx + side * 0.42f * k, fy + 0.12f * k, 0.1f * k, 0.06f * k),
                Hex(0xFF8CB4));
        float dm = std::max(std::fabs(SdCircle(x, y, fx, fy + 0.06f * k, 0.14f * k)) - 0.03f * k,
                            -(y - fy - 0.12f * k));
        Put(s, dm, kInk);
    }
}

Sample Chara(int nId, float x, float y, const Look& lk) {
    Sample s;
    const float R = 0.84f;                             // body radius
    const float fx = lk.gx * 0.3f, fy = lk.gy * 0.3f;  // face centre
    const float ow = lk.ow;
    auto body = [&](float d, int nRamp, int nShade) {
        if (d < 0) s = {true, d > -ow ? kInk : Ball(nRamp, nShade, x, y, 0, 0, R)};
    };
    float dBody = SdCircle(x, y, 0, 0, R);
    switch (nId) {
        case 0:   // ポムリン: pink puff with a yellow sprout
        case 10:  // ダークポムリン: the same in dark purple with red eyes
        {
            bool bDark = nId == 10;
            float dLeaf = std::min(SdEllipse(x, y, -0.2f, -0.86f, 0.2f, 0.1f),
                                   SdEllipse(x, y, 0.2f, -0.86f, 0.2f, 0.1f));
            PutRimmed(s, std::min(dLeaf, SdSegment(x, y, 0, -0.8f, 0, -0.9f, 0.05f)),
                      bDark ? RampColor(RAMP_PURPLE, 5) : RampColor(RAMP_LIME, 11), ow);
            body(dBody, bDark ? RAMP_PURPLE : RAMP_PINK, bDark ? 7 : 11);
            if (bDark) {
                Face(s, x, y, fx, fy, 1, FACE_ANGRY, RampColor(RAMP_RED, 11));
                float dm = std::fabs(SdCircle(x, y, fx, fy + 0.32f, 0.16f)) - 0.035f;
                Put(s, std::max(dm, y - fy - 0.26f), kInk);
            } else {
                Face(s, x, y, fx, fy, 1, FACE_CUTE);
            }
            break;
        }
        case 1: {  // オジー: bald old man with white brows and moustache
            body(dBody, RAMP_SAND, 10);
            for (int side = -1; side <= 1; side += 2)
                PutRimmed(s, SdEllipse(x, y, side * 0.78f, 0.05f, 0.16f, 0.28f), Hex(0xE8E8EC), ow);
            Face(s, x, y, fx, fy, 1, FACE_OLD);
            for (int side = -1; side <= 1; side += 2) {
                PutRimmed(s, SdEllipse(x, y, fx + side * 0.27f, fy - 0.2f, 0.17f, 0.08f), Hex(0xF4F4F8),
                          ow * 0.8f);
                PutRimmed(s, SdEllipse(x, y, fx + side * 0.17f, fy + 0.2f, 0.2f, 0.1f), Hex(0xF4F4F8),
                          ow * 0.8f);
            }
            Put(s, SdEllipse(x, y, fx, fy + 0.08f, 0.09f, 0.08f), RampColor(RAMP_ORANGE, 9));
            break;
        }
        case 2: {  // クレープ: golden crepe with cream and a strawberry
            body(dBody, RAMP_SAND, 11);
            if (dBody < -ow && Fbm(x * 4 + 3, y * 4 + 7, 21, 2) > 0.62f) s.c = RampColor(RAMP_BROWN, 11);
            float dCream =
                std::min({SdCircle(x, y, -0.25f, -0.62f, 0.2f), SdCircle(x, y, 0.02f, -0.7f, 0.22f),
                          SdCircle(x, y, 0.28f, -0.6f, 0.2f)});
            PutRimmed(s, dCream, Hex(0xFFF8F0), ow);
            PutRimmed(s, SdEllipse(x, y, 0.02f, -0.78f, 0.16f, 0.14f), RampColor(RAMP_RED, 10), ow);
            Put(s, SdEllipse(x, y, 0.02f, -0.9f, 0.08f, 0.04f), RampColor(RAMP_GREEN, 10));
            Face(s, x, y, fx, fy + 0.1f, 0.85f, FACE_CUTE);
            break;
        }
        case 3: {  // まめたくん: green bean with a seam and a sprout
            PutRimmed(s, SdEllipse(x, y, 0.16f, -0.86f, 0.16f, 0.08f), RampColor(RAMP_GREEN, 9), ow);
            body(dBody, RAMP_LIME, 9);
            if (dBody < -ow && std::fabs(SdCircle(x, y, -1.6f, 0.0f, 1.55f)) < 0.04f)
                s.c = RampColor(RAMP_LIME, 5);
            Face(s, x, y, fx, fy, 0.9f, FACE_CUTE);
            break;
        }
        case 4: {  // バードマージ: blue bird in a wizard's hat
            body(dBody, RAMP_SKY, 9);
            Put(s, std::max(dBody + ow, SdEllipse(x, y, fx, fy + 0.42f, 0.42f, 0.34f)),
                RampColor(RAMP_SKY, 14));
            Face(s, x, y, fx, fy - 0.05f, 0.9f, FACE_NONE);
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdCircle(x, y, fx + side * 0.25f, fy - 0.08f, 0.1f), kInk);
            PutRimmed(s,
                      SdTriangle(x, y, fx - 0.14f, fy + 0.05f, fx + 0.14f, fy + 0.05f, fx + lk.gx * 0.2f,
                                 fy + 0.25f + lk.gy * 0.12f),
                      RampColor(RAMP_ORANGE, 11), ow);
            float dHat = std::min(SdTriangle(x, y, -0.42f, -0.5f, 0.42f, -0.5f, 0.12f, -0.98f),
                                  SdEllipse(x, y, 0, -0.5f, 0.6f, 0.1f));
            PutRimmed(s, dHat, RampColor(RAMP_PURPLE, 8), ow);
            Put(s, SdStar(x, y, 0.02f, -0.66f, 0.12f, 0.05f, 5, -1.5708f), RampColor(RAMP_YELLOW, 12));
            break;
        }
        case 5: {  // ぼうれいのきし: helmet with a visor slit and ghostly eyes
            PutRimmed(s, SdEllipse(x, y, 0.12f, -0.8f, 0.3f, 0.14f), RampColor(RAMP_PURPLE, 10), ow);
            body(dBody, RAMP_GREY, 10);
            float dSlit =
                std::min(SdBox(x, y, fx, fy - 0.02f, 0.5f, 0.09f), SdBox(x, y, fx, fy + 0.2f, 0.07f, 0.24f));
            Put(s, std::max(dSlit, dBody + ow), Hex(0x201828));
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdCircle(x, y, fx + side * 0.24f, fy - 0.02f, 0.075f), Hex(0x7CF8E8));
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdCircle(x, y, side * 0.6f, 0.42f, 0.05f), RampColor(RAMP_GREY, 14));
            break;
        }
        case 6: {  // パワフルくじら: whale with a striped belly and a spout
            float dSpout = std::min({SdCircle(x, y, -0.18f, -0.86f, 0.12f),
                                     SdCircle(x, y, 0.18f, -0.86f, 0.12f), SdCircle(x, y, 0, -0.92f, 0.07f)});
            PutRimmed(s, dSpout, RampColor(RAMP_SKY, 14), ow);
            body(dBody, RAMP_BLUE, 8);
            float dBelly = std::max(dBody + ow, SdCircle(x, y, fx * 0.5f, 0.95f, 0.95f));
            if (dBelly < 0) {
                bool bGroove = std::fmod(x * 5 + 10, 1.0f) < 0.2f;
                s.c = bGroove ? RampColor(RAMP_SKY, 11) : RampColor(RAMP_SKY, 14);
            }
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdCircle(x, y, fx + side * 0.3f, fy - 0.05f, 0.08f), kInk);
            break;
        }
        case 7: {  // こんぺいとう: bumpy star candy
            float a = std::atan2(y, x);
            float dCandy = std::hypot(x, y) - (0.8f + 0.1f * std::cos(a * 10));
            body(dCandy, RAMP_YELLOW, 12);
            if (dCandy < -ow && std::cos(a * 10) > 0.55f && std::hypot(x, y) > 0.55f)
                s.c = RampColor(RAMP_PINK, 13);
            Face(s, x, y, fx, fy, 0.85f, FACE_CUTE);
            break;
        }
        case 8: {  // あざわらうつき: moon with craters and a sneer
            body(dBody, RAMP_YELLOW, 11);
            if (dBody < -ow && SdCircle(x, y, 0.5f, -0.2f, 0.75f) > 0) s.c = RampColor(RAMP_BLUE, 3);
            if (dBody < -ow) {
                for (auto [cx, cy, r] : {std::array{-0.5f, 0.45f, 0.12f}, std::array{-0.15f, -0.6f, 0.09f}})
                    if (SdCircle(x, y, cx, cy, r) < 0) s.c = RampColor(RAMP_YELLOW, 8);
            }
            Face(s, x, y, fx, fy, 1, FACE_SNEER);
            break;
        }
        case 9: {  // すいりゅう: water dragon with horns and whiskers
            for (int side = -1; side <= 1; side += 2)
                PutRimmed(s, SdTriangle(x, y, side * 0.2f, -0.6f, side * 0.5f, -0.55f, side * 0.42f, -0.98f),
                          RampColor(RAMP_GOLD, 12), ow);
            body(dBody, RAMP_TEAL, 9);
            if (dBody < -ow && y > 0.1f && std::fmod(std::hypot(x, y - 2.0f) * 8, 1.0f) < 0.25f)
                s.c = RampColor(RAMP_TEAL, 12);
            Face(s, x, y, fx, fy, 1, FACE_ANGRY, RampColor(RAMP_GOLD, 13));
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdSegment(x, y, fx + side * 0.15f, fy + 0.2f, fx + side * 0.62f, fy + 0.32f, 0.035f),
                    kInk);
            break;
        }
        case 11: {  // サンタ: red hat, white beard
            float dHat = std::max(SdCircle(x, y, 0, 0, R), y + 0.25f);
            float dBall = SdCircle(x, y, 0.5f, -0.78f, 0.16f);
            PutRimmed(s, dBall, Hex(0xFFFFFF), ow);
            body(dBody, RAMP_SAND, 12);
            if (dHat < -ow) s.c = Ball(RAMP_RED, 10, x, y, 0, 0, R);
            Put(s, std::max(dBody + ow, SdBox(x, y, 0, -0.25f, 1, 0.09f)), Hex(0xF4F4F8));
            PutRimmed(s, dBall, Hex(0xFFFFFF), ow);
            float dBeard = std::max(dBody + ow, SdEllipse(x, y, fx * 0.5f, 0.55f + fy * 0.3f, 0.72f, 0.5f));
            Put(s, dBeard, Ball(RAMP_GREY, 14, x, y, 0, 0, R));
            for (int side = -1; side <= 1; side += 2)
                Put(s, SdCircle(x, y, fx * 0.6f + side * 0.24f, -0.02f + fy * 0.3f, 0.08f), kInk);
            Put(s, SdEllipse(x, y, fx * 0.6f, 0.14f + fy * 0.3f, 0.09f, 0.07f), RampColor(RAMP_RED, 12));
            break;
        }
        default:
            body(dBody, RAMP_GREY, 8);
    }
    return s;
}

void PaintOne(Canvas& cv, int nId, int x, int y, int nSize, float gx, float gy) {
    float n = std::hypot(gx, gy);
    Look lk{gx / n, gy / n, 2.4f / float(nSize) * (nSize <= 16 ? 0.9f : 1.0f)};
    PaintSampled(cv, x, y, nSize, nSize, 4, [&](float u, float v) { return Chara(nId, u, v, lk); });
}

}  // namespace

void PaintFighter(Canvas& cv, int nId, int x, int y, int nSize, bool bFacingPlayer2) {
    // From player 2's start (480, 352) toward player 1's (128, 96), and back.
    float gx = -352, gy = -256;
    if (bFacingPlayer2) gx = -gx, gy = -gy;
    PaintOne(cv, nId, x, y, nSize, gx, gy);
}

Canvas PaintBattleChara() {
    const AssetBitmapInfo& info = g_AssetBitmaps[ABMP_BATTLE_CHARA];
    Canvas cv(info.nWidth, info.nHeight);
    // Sprite 0 of every size stays empty: the vanished body.
    for (int id = 0; id < kCharaCount; ++id) {
        PaintFighter(cv, id, id * 32, kSizeRowNormal + 32, 32, false);
        PaintFighter(cv, id, kStillBlockX + id * 32, kSizeRowNormal + 32, 32, true);
        PaintFighter(cv, id, id * 64, kSizeRowBig + 64, 64, false);
        PaintFighter(cv, id, id * 16, kSizeRowSmall + 16, 16, false);
    }
    return cv;
}
