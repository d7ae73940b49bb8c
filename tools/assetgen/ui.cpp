// Signs, title panels, cursors, arrows and stars: bmp/メッセージ.bmp and bmp/その他.bmp. The
// panels' words are in the language in force (g_nLanguage); the signs read the same in both.
#include "ui.h"

#include "lang/lang.h"
#include "layout.h"
#include "shapes.h"
#include "text.h"

namespace {

const RGB kInk = Hex(0x18121E);

// A sign: big outlined lettering on a transparent ground.
void Sign(Canvas& cv, int x, int y, int w, int h, const char* sz, int nPx, RGB top, RGB bottom) {
    TextStyle st{top, bottom, kInk, 2.5f, true};
    DrawTextCentred(cv, x + w / 2.0f - 1, y + h / 2.0f - 1, sz, nPx, st);
}

// A rounded panel with a light rim; text is drawn on it afterwards.
void Panel(Canvas& cv, int x, int y, int w, int h, RGB top, RGB bottom, RGB rim) {
    const float r = 14;
    BlendShape(cv, x, y, x + w, y + h, [&](float px, float py, RGB& c) {
        float d = SdBox(px, py, x + w / 2.0f, y + h / 2.0f, w / 2.0f - r - 1, h / 2.0f - r - 1) - r;
        float t = (py - y) / h;
        c = d > -2 ? kInk : d > -5 ? rim : Dithered(Mix(top, bottom, t), int(px), int(py), 2.0f);
        if (d <= -5 && d > -8 && py - y < 16) c = Mix(c, {255, 255, 255}, 0.25f);  // gloss along the top
        return d;
    });
}

}  // namespace

Canvas PaintMessage() {
    const AssetBitmapInfo& info = g_AssetBitmaps[ABMP_MESSAGE];
    Canvas cv(info.nWidth, info.nHeight);
    const RGB kGoldT = Hex(0xFFF6B0), kGoldB = Hex(0xF08C1E);
    Sign(cv, 0, 0, 144, 48, "READY?", 34, Hex(0xFFFFFF), Hex(0x78C8FF));
    Sign(cv, 0, 48, 144, 48, "GO!!", 44, kGoldT, Hex(0xE83C28));
    Sign(cv, 160, 0, 144, 48, "1P WIN!", 32, Hex(0xFFD0D8), Hex(0xE02840));
    Sign(cv, 160, 48, 144, 48, "2P WIN!", 32, Hex(0xD0F0FF), Hex(0x2860E0));
    Sign(cv, 304, 0, 168, 48, "COM WIN!", 32, Hex(0xF0D8FF), Hex(0x8838C8));

    // Title: the tagline ribbon and the menu.
    Panel(cv, 0, 96, 432, 48, Hex(0xFF9CC8), Hex(0xD04888), Hex(0xFFE4F0));
    TextStyle tag{Hex(0xFFFFFF), Hex(0xFFF0B0), Hex(0x6C1440), 2, false};
    DrawTextCentred(cv, 216, 120, GameText(TXT_TAGLINE), 22, tag);
    Panel(cv, 0, 144, 288, 192, Hex(0x3050B8), Hex(0x182868), Hex(0xA8D8FF));
    TextStyle row{Hex(0xFFFFFF), Hex(0xFFE890), kInk, 2, false};
    for (int k = 0; k < 4; ++k)
        DrawTextCentred(cv, 148, 144 + 24 + 48 * k, GameText(TXT_MENU_VS_COM + k), 26, row);
    // The same menu with online play, its row third.
    Panel(cv, 0, 336, 288, 240, Hex(0x3050B8), Hex(0x182868), Hex(0xA8D8FF));
    constexpr int kOnlineRows[5] = {TXT_MENU_VS_COM, TXT_MENU_TWO_PLAYERS, TXT_MENU_ONLINE, TXT_MENU_OPTIONS,
                                    TXT_MENU_QUIT};
    for (int k = 0; k < 5; ++k)
        DrawTextCentred(cv, 148, 336 + 24 + 48 * k, GameText(kOnlineRows[k]), 26, row);
    (void)kGoldB;
    return cv;
}

Canvas PaintOther() {
    const AssetBitmapInfo& info = g_AssetBitmaps[ABMP_OTHER];
    Canvas cv(info.nWidth, info.nHeight);
    const RGB kRed = Hex(0xFF3C48), kBlue = Hex(0x3C9CFF);
    auto arrow = [&](int x, int y, RGB c, bool bDown) {
        PaintSampled(cv, x, y, 16, 16, 4, [&](float u, float v) {
            if (bDown) std::swap(u, v);  // pointing down instead of right
            float d = std::min(SdTriangle(u, v, -0.2f, -1.0f, 1.0f, 0.0f, -0.2f, 1.0f),
                               SdBox(u, v, -0.55f, 0, 0.45f, 0.42f));
            Sample s;
            // Dark edge, then a white rim: the arrows sit on dark panels as well as on the sky.
            if (d < 0)
                s = {true, d > -0.12f                                        ? kInk
                           : d > -0.22f                                      ? Hex(0xFFFFFF)
                           : (v < -0.05f && !bDown) || (u < -0.05f && bDown) ? Mix(c, {255, 255, 255}, 0.4f)
                                                                             : c};
            return s;
        });
    };
    arrow(16, 0, kRed, false);
    arrow(16, 16, kBlue, false);
    arrow(32, 0, kRed, true);
    arrow(32, 16, kBlue, true);
    auto star = [&](int x, int y, RGB rim) {
        PaintSampled(cv, x, y, 16, 16, 4, [&](float u, float v) {
            float d = SdStar(u, v, 0, 0.06f, 0.98f, 0.45f, 5, -1.5708f);
            Sample s;
            if (d < 0)
                s = {true, d > -0.13f  ? kInk
                           : d > -0.3f ? rim
                                       : Mix(Hex(0xFFF8C0), Hex(0xF8C020), (v + 1) / 2)};
            return s;
        });
    };
    star(0, 32, kRed);
    star(16, 32, kBlue);
    return cv;
}
