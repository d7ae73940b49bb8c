// Full-screen pictures of the menus: title, character select, options; and the letters. Words
// are in the language in force (g_nLanguage).
#include "arenas.h"

#include <string>

#include "fighters.h"
#include "lang/lang.h"
#include "layout.h"
#include "shapes.h"
#include "text.h"

namespace {

constexpr int W = 640, H = 480;
const RGB kInk = Hex(0x18121E);

void Gradient(Canvas& cv, RGB top, RGB bottom) {
    for (int y = 0; y < H; ++y) cv.Fill(0, y, W, 1, Mix(top, bottom, float(y) / (H - 1)));
}

// A dark see-through box for white text, with a light rim.
void TextBox(Canvas& cv, int x, int y, int w, int h, RGB fill, RGB rim) {
    const float r = 10;
    BlendShape(cv, x, y, x + w, y + h, [&](float px, float py, RGB& c) {
        float d = SdBox(px, py, x + w / 2.0f, y + h / 2.0f, w / 2.0f - r, h / 2.0f - r) - r;
        c = d > -2 ? rim : fill;
        return d;
    });
}

// A soft pattern of diagonal lozenges for the menu grounds.
void Lozenges(Canvas& cv, float fStrength) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int u = (x + y) / 40, v = (x - y + 480) / 40;
            if ((u + v) % 2) {
                Pixel& p = cv.At(x, y);
                p.c = Mix(p.c, {255, 255, 255}, fStrength);
            }
        }
}

}  // namespace

Canvas PaintTitle() {
    Canvas cv(W, H);
    Gradient(cv, Hex(0x78C8F8), Hex(0xD8F0FF));
    // Clouds and two rolling hills.
    for (auto [cx, cy, r] :
         {std::array{80.f, 60.f, 26.f}, std::array{560.f, 40.f, 22.f}, std::array{600.f, 210.f, 18.f}})
        BlendShape(cv, 0, 0, W, H, [&, cx = cx, cy = cy, r = r](float x, float y, RGB& c) {
            c = Hex(0xFFFFFF);
            return std::min({SdCircle(x, y, cx, cy, r), SdCircle(x, y, cx + r, cy + 6, r * 0.8f),
                             SdCircle(x, y, cx - r, cy + 8, r * 0.7f)});
        });
    BlendShape(cv, 0, 240, W, H, [](float x, float y, RGB& c) {
        c = Mix(RampColor(RAMP_LIME, 10), RampColor(RAMP_GREEN, 8), (y - 260) / 220);
        return (300 + 40 * std::sin(x / 110)) - y;  // inside below the crest
    });
    BlendShape(cv, 0, 300, W, H, [](float x, float y, RGB& c) {
        c = Mix(RampColor(RAMP_GREEN, 9), RampColor(RAMP_GREEN, 7), (y - 340) / 140);
        return (372 + 26 * std::sin(x / 70 + 2)) - y;
    });
    // The fighters around the menu, rolling in from both sides.
    const int places[][4] = {{24, 250, 64, 0},   {112, 300, 32, 3}, {40, 350, 64, 2},  {128, 420, 32, 8},
                             {536, 250, 64, 10}, {496, 318, 32, 4}, {552, 360, 64, 6}, {504, 424, 32, 7},
                             {16, 200, 32, 1},   {592, 190, 32, 5}, {232, 440, 32, 9}, {440, 440, 32, 11}};
    for (const auto& p : places) PaintFighter(cv, p[3], p[0], p[1], p[2], p[0] < 320);
    TextStyle logo{Hex(0xFFF8B8), Hex(0xFF6AA8), kInk, 4, true};
    TextStyle inner{Hex(0xFFF8B8), Hex(0xFF6AA8), Hex(0xFFFFFF), 2, false};
    TextMask m = RenderText(GameText(TXT_GAME_NAME), 64);
    int x = (W - m.nWidth) / 2, y = 176 - m.nHeight / 2;
    DrawTextMask(cv, x, y, m, logo);
    DrawTextMask(cv, x, y, m, inner);
    return cv;
}

Canvas PaintCharaSelect() {
    Canvas cv(W, H);
    Gradient(cv, Hex(0x2C2468), Hex(0x141838));
    Lozenges(cv, 0.05f);
    DrawTextCentred(cv, 320, 26, GameText(TXT_SELECT_HEADING), 28,
                    {Hex(0xFFFFFF), Hex(0xFFE070), kInk, 2.5f, true});
    TextBox(cv, 8, 56, 308, 196, Hex(0x4A1830), Hex(0xF06078));    // player 1
    TextBox(cv, 324, 56, 308, 196, Hex(0x182C58), Hex(0x60A0F8));  // player 2
    TextBox(cv, 112, 296, 416, 64, Hex(0x201C40), Hex(0xC8B8FF));  // the character row
    for (int i = 0; i < kCharaCount; ++i)
        BlendShape(cv, 128 + 32 * i, 320, 160 + 32 * i, 352, [&](float x, float y, RGB& c) {
            c = (i % 2) ? Hex(0x2E2A5A) : Hex(0x38346C);
            return SdBox(x, y, 144 + 32.0f * i, 336, 15, 15);
        });
    TextBox(cv, 200, 404, 240, 36, Hex(0x201C40), Hex(0xFFE070));  // battle mode
    for (int k = 0; k < 2; ++k) {                                  // portrait frames
        int x = k ? 588 : 12;
        BlendShape(cv, x, 60, x + 40, 100, [&](float px, float py, RGB& c) {
            c = Hex(0xF4EEDC);
            return std::fabs(SdBox(px, py, x + 20.0f, 80, 18, 18)) - 1.5f;
        });
    }
    return cv;
}

Canvas PaintOptionScreen() {
    Canvas cv(W, H);
    Gradient(cv, Hex(0x10485C), Hex(0x0C1C34));
    Lozenges(cv, 0.04f);
    // Help lines, y 280..400. The longest line runs past the screen's right edge, so the box
    // runs off the screen there too instead of crossing the text with its rim.
    TextBox(cv, 8, 266, 680, 140, Hex(0x0C2030), Hex(0x4C8CA0));
    // The ten rows, y 32..272, over the help box's top: its rim stays clear of the help lines.
    TextBox(cv, 8, 20, 624, 255, Hex(0x0C2030), Hex(0x78D8E8));
    TextBox(cv, 8, 410, 624, 40, Hex(0x0C2030), Hex(0x4C8CA0));  // footer, y 416..440
    for (int k = 0; k < 10; ++k)                                 // faint row guides
        cv.Fill(32, 32 + 24 * k + 22, 576, 1, Hex(0x1C3848));
    return cv;
}

Canvas PaintLetters() {
    const AssetBitmapInfo& info = g_AssetBitmaps[ABMP_MOJI];
    Canvas cv(info.nWidth, info.nHeight);
    // Thickened strokes: the face's thin lines at 14 pixels would break up into grey dots.
    TextStyle st{Hex(0xFFFFFF), Hex(0xE0E8FF), kInk, 1, false};
    for (int c = 0x21; c < 0x7F; ++c) {
        std::string s(1, char(c));
        int k = c - 0x20;
        DrawTextCentred(cv, (k % 16) * 16 + 8, (k / 16) * 16 + 8, s.c_str(), 14, st, 1.0f);
    }
    return cv;
}
