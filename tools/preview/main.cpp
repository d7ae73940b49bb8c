// preview OUT [--data DIR]: battle pictures drawn by the game's own drawing functions from the
// generated bitmaps, for looking at the art: every arena with fighters of every character at
// all three sizes, and the skill bodies, auras, sparks, flashes, bursts and signs.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/option.h"
#include "app/png_write.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "battle_view/battle_draw.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/surface.h"

namespace {

std::string g_szOut;

// A fighter of character nId, nSize pixels, its top-left at (x, y) pixels, turned nAngle.
CHARA MakeFighter(int nId, int nNum, int nSize, int x, int y, int nAngle) {
    CHARA c{};
    c.nNum = nNum;
    c.chr = g_CharaTable[size_t(nId)];
    c.anmBody.lpAnimTable = &g_AnimSetBody;
    c.anmGauge.lpAnimTable = &g_AnimSetGauge;
    AnimSet(&c.anmBody, 0);
    AnimSet(&c.anmGauge, 0);
    const int nShift = nSize == 64 ? 6 : nSize == 16 ? 4 : 5;
    c.box.nWidth = c.box.nHeight = nSize;
    c.box.nWidthShift = c.box.nHeightShift = nShift;
    c.nSizeRow = nSize == 64 ? 64 : nSize == 16 ? 192 : 0;
    c.bBig = nSize == 64;
    c.bSmall = nSize == 16;
    c.box.nX = x << 10;
    c.box.nY = y << 10;
    BoxUpdate(&c.box);
    c.nAngle = nAngle;
    c.nGaugeCost = 100;
    return c;
}

// An image body (clone, shot, trap) of nSize pixels centred on (cx, cy).
void PlaceImage(IMAGE& img, const CHARA& owner, int nSize, int cx, int cy) {
    const int nShift = nSize == 64 ? 6 : nSize == 16 ? 4 : 5;
    img.box.nWidth = img.box.nHeight = nSize;
    img.box.nWidthShift = img.box.nHeightShift = nShift;
    img.box.nX = (cx - (nSize / 2 - 1)) << 10;
    img.box.nY = (cy - (nSize / 2 - 1)) << 10;
    BoxUpdate(&img.box);
    img.nSizeRow = owner.nSizeRow;
    img.bBig = owner.bBig;
    img.nCount = 100;
}

void Save(const char* szName) {
    PlatColor pal[256];
    for (int i = 0; i < 256; ++i) pal[i] = {g_Palette[i].peRed, g_Palette[i].peGreen, g_Palette[i].peBlue};
    const std::string szFile = g_szOut + "/" + szName;
    if (!SavePng(szFile.c_str(), g_BackBuffer.lpSurface.get(), g_BackBuffer.nWidth, g_BackBuffer.nHeight,
                 g_BackBuffer.nPitch, pal))
        std::fprintf(stderr, "preview: cannot write %s\n", szFile.c_str());
}

void Fight(CHARA c) {
    DrawFighter(&c, false, false);
}

// The status row: wins and stocks of the two players in g_Chara.
void StatusRow(int nWin1, int nWin2, int nStock1, int nStock2) {
    g_Chara[0] = MakeFighter(0, 0, 32, 128, 96, 0);
    g_Chara[1] = MakeFighter(10, 1, 32, 480, 352, 0);
    g_Chara[0].nWin = nWin1;
    g_Chara[1].nWin = nWin2;
    g_Chara[0].nGauge = nStock1 * 100;
    g_Chara[1].nGauge = nStock2 * 100;
    DrawWins();
    DrawGaugeStocks();
}

// All twelve characters rolling at 32 px, some big and small ones, the two still start
// pictures, fighters hanging over each edge, and the status row.
void ArenaPicture(int nArena) {
    DDLoadBattleBackground(g_szBattleBackground[size_t(nArena)]);
    DrawBackground();
    for (int id = 0; id < 12; ++id) Fight(MakeFighter(id, 1, 32, 64 + 44 * id, 200 + (id % 2) * 40, id * 30));
    for (int k = 0; k < 4; ++k) Fight(MakeFighter((nArena + 3 * k) % 12, 1, 64, 70 + 140 * k, 300, 20 * k));
    for (int id = 0; id < 12; ++id) Fight(MakeFighter(id, 1, 16, 64 + 44 * id, 392, 45 * id));
    CHARA p1 = MakeFighter(nArena % 12, 0, 32, 128, 96, 0);
    CHARA p2 = MakeFighter((nArena + 5) % 12, 1, 32, 480, 352, 0);
    DrawFighter(&p1, true, true);
    DrawFighter(&p2, true, true);
    // Over the edges: centres just inside, so these are the last pictures before a fall.
    Fight(MakeFighter(6, 1, 32, -14, 130, 0));
    Fight(MakeFighter(8, 1, 32, 622, 150, 0));
    Fight(MakeFighter(3, 1, 32, 300, -14, 0));
    Fight(MakeFighter(10, 1, 32, 360, 462, 0));
    StatusRow(2, 1, 3, 2);
    char szName[32];
    std::snprintf(szName, sizeof(szName), "arena_%d.png", nArena);
    Save(szName);
}

// Skills running: auras at three sizes, clones, afterimage, shot, trap, sparks, the gauge
// flash frames, the knock-out burst at three radii and the go sign.
void SkillPicture(int nArena, const char* szName) {
    DDLoadBattleBackground(g_szBattleBackground[size_t(nArena)]);
    DrawBackground();
    const int sizes[3] = {16, 32, 64};
    for (int k = 0; k < 3; ++k) {
        CHARA a = MakeFighter(0, 0, sizes[k], 40 + 90 * k, 60, 15);
        AnimSet(&a.anmBody, 1);  // attack
        Fight(a);
        CHARA s = MakeFighter(8, 1, sizes[k], 40 + 90 * k, 150, 15);
        AnimSet(&s.anmBody, 4);  // suction
        Fight(s);
    }
    CHARA c = MakeFighter(4, 0, 32, 400, 80, 40);  // four-way clone
    c.nSkillFlag[0] = 1u << SKILL_CLONE4;
    PlaceImage(c.slot[0][0], c, 32, 415 + 56, 95);
    PlaceImage(c.slot[0][1], c, 32, 415, 95 + 56);
    PlaceImage(c.slot[0][2], c, 32, 415 - 56 + 150, 95 + 56);
    c.nSkillFlag[1] = 1u << SKILL_SHOT;
    PlaceImage(c.slot[1][0], c, 32, 560, 60);
    c.nSkillFlag[2] = 1u << SKILL_TRAP;
    PlaceImage(c.slot[2][0], c, 32, 580, 140);
    DrawSkillImages(&c);
    DrawTraps(&c);
    Fight(c);
    DrawShots(&c);
    CHARA ai = MakeFighter(9, 1, 32, 520, 220, 70);  // afterimage
    ai.nSkillFlag[0] = 1u << SKILL_AFTERIMAGE;
    PlaceImage(ai.slot[0][0], ai, 32, 500, 250);
    DrawSkillImages(&ai);
    Fight(ai);
    for (int k = 1; k <= 3; ++k) {  // gauge flash frames 1, 2, 3; then the resting frame
        CHARA g = MakeFighter(k + 1, 0, 32, 60 + 70 * k, 250, 0);
        AnimSet(&g.anmGauge, 1);
        for (int n = 0; n < (k == 1 ? 0 : k == 2 ? 5 : 15); ++n) AnimStep(&g.anmGauge);
        Fight(g);
        DrawGaugeFlash(&g);
    }
    CHARA rest = MakeFighter(5, 0, 32, 340, 250, 0);
    Fight(rest);
    DrawGaugeFlash(&rest);
    for (int t = 0; t < 3; ++t) {
        g_Effect[t] = {t, 400 + 44 * t, 300, 5};
    }
    DrawEffects();
    const int radii[3] = {10, 40, 90};
    for (int k = 0; k < 3; ++k) {
        CHARA b = MakeFighter(7 + k, 1, 32, 60 + 110 * k, 380, 0);
        g_nFallCount = radii[k] - 1;
        DrawKOBurst(&b);
    }
    g_nPhaseCount = 0;
    DrawPhaseSign(1);
    StatusRow(1, 2, 1, 3);
    Save(szName);
}

// The ready sign and the three result signs over still fighters.
void SignPicture(int nRow, int nResult, const char* szName) {
    DDLoadBattleBackground(g_szBattleBackground[2]);
    DrawBackground();
    CHARA p1 = MakeFighter(1, 0, 32, 128, 96, 0);
    CHARA p2 = MakeFighter(11, 1, 32, 480, 352, 0);
    DrawFighter(&p1, true, true);
    DrawFighter(&p2, true, true);
    StatusRow(nResult == 0 ? 3 : 1, nResult == 0 ? 2 : 3, 0, 0);
    if (nRow == 0) {
        DrawPhaseSign(0);
    } else {
        g_Option.nWinCount = 3;
        g_Chara[1].nControl = nResult == 1 ? 1 : 2;
        g_nPhaseCount = 0;
        DrawMatchResult();
    }
    Save(szName);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview OUT [--data DIR]\n");
        return 2;
    }
    std::error_code ec;
    g_szOut = std::filesystem::absolute(argv[1], ec).string();
    std::filesystem::create_directories(g_szOut, ec);
    std::string szData = POMRIN_DATA_DIR;
    if (argc >= 4 && std::string(argv[2]) == "--data") szData = argv[3];
    std::filesystem::current_path(szData, ec);
    if (ec || !DDLoadPaletteFromFile(g_BasePalette, "bmp/メッセージ.bmp", 0)) {
        std::fprintf(stderr, "preview: no pictures in %s\n", szData.c_str());
        return 1;
    }
    g_Palette = g_BasePalette;
    DDCreateSurface(g_BackBuffer, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0);
    const int ids[] = {BMP_BATTLE_CHARA, BMP_EFFECT, BMP_MESSAGE, BMP_OTHER};
    for (int id : ids)
        if (!DDCheckLoadError(DDLoadBitmap(g_Bitmap[size_t(id)], g_BitmapList[size_t(id)].szFile,
                                           g_BitmapList[size_t(id)].bColorKey, 8, 0)))
            return 1;
    g_Option.nWinCount = 3;
    for (int n = 0; n < 7; ++n) ArenaPicture(n);
    SkillPicture(0, "skills_grass.png");
    SkillPicture(3, "skills_sea.png");
    SkillPicture(5, "skills_swamp.png");
    SignPicture(0, 0, "sign_ready.png");
    SignPicture(1, 0, "sign_win1.png");
    SignPicture(1, 1, "sign_win2.png");
    SignPicture(1, 2, "sign_com.png");
    return 0;
}
