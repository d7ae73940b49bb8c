// Battle drawing on the back buffer, with made-up pictures whose colours tell the pieces apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "app/option.h"
#include "battle/battle_scene.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "battle_view/battle_draw.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/surface.h"
#include "support/fighter.h"
#include "support/surface.h"

namespace {

// Colour indices of the made-up pictures.
enum : uint8_t {
    BG = 1,
    BODY = 9,
    SHOT = 20,
    TRAP = 21,
    SPARK = 22,
    SIGN = 30,
    STAR1 = 40,
    STAR2 = 41,
    STOCK = 42,
    STILL1 = 50,
    AURA = 60,
    FLASH = 70
};

void MakeSheet(int nId, int w, int h, int bKey) {
    DDCreateSurface(g_Bitmap[nId], w, h, bKey, 0);
}

void PlaceFighter(CHARA& c, int nNum, int x, int y) {
    c = Fighter(x, y, nNum);
    c.chr.nId = 3;
}

class BattleDraw : public ::testing::Test {
  protected:
    void SetUp() override {
        DDCreateSurface(g_BackBuffer, 640, 480, 0, 0);
        MakeSheet(BMP_BATTLE_BG, 640, 480, 0);
        DDFillRect(g_Bitmap[BMP_BATTLE_BG], 0, 0, 640, 480, BG);
        // Sprite 0 of every fighter is empty (the vanished body); the other sprites are solid.
        MakeSheet(BMP_BATTLE_CHARA, 768, 256, 1);
        DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 0, 32, 768, 32 * 3, BODY);
        MakeSheet(BMP_EFFECT, 256, 256, 1);
        DDFillRect(g_Bitmap[BMP_EFFECT], 0, 16, 96, 32, SPARK);
        DDFillRect(g_Bitmap[BMP_EFFECT], 0, 48, 16, 16, STOCK);
        DDFillRect(g_Bitmap[BMP_EFFECT], 32, 64, 32, 32, TRAP);
        DDFillRect(g_Bitmap[BMP_EFFECT], 64, 64, 32, 32, SHOT);
        MakeSheet(BMP_MESSAGE, 480, 96, 1);
        DDFillRect(g_Bitmap[BMP_MESSAGE], 0, 0, 144, 96, SIGN);
        MakeSheet(BMP_OTHER, 64, 64, 1);
        DDFillRect(g_Bitmap[BMP_OTHER], 0, 32, 16, 16, STAR1);
        DDFillRect(g_Bitmap[BMP_OTHER], 16, 32, 16, 16, STAR2);
        PlaceFighter(g_Chara[0], 0, 100, 100);
        PlaceFighter(g_Chara[1], 1, 400, 300);
        for (EFFECT& e : g_Effect) e = EFFECT{};
        g_Option.nWinCount = 3;
        g_nBattleMode = 1;
        g_nPhaseCount = 60;
    }
};

TEST_F(BattleDraw, ShadeLeavesOnlyShotsSparksAndGoSign) {
    g_Chara[0].nSkillFlag[0] = 1u << SKILL_SHADE;
    CHARA& shooter = g_Chara[1];
    shooter.nSkillFlag[1] = 1u << SKILL_SHOT;
    IMAGE& shot = shooter.slot[1][0];
    shot.box = g_Chara[1].box;
    shot.box.nX = 300 * 1024;
    shot.box.nY = 100 * 1024;
    BoxUpdate(&shot.box);
    shooter.nSkillFlag[2] = 1u << SKILL_TRAP;  // an armed trap is hidden like the rest
    shooter.slot[2][0] = shot;
    shooter.slot[2][0].box.nX = 500 * 1024;
    BoxUpdate(&shooter.slot[2][0].box);
    shooter.slot[2][0].nCount = 100;
    g_Chara[0].nWin = 1;
    g_Chara[0].nGauge = 300;
    g_Effect[0] = EFFECT{2, 50, 400, 10};
    g_nPhaseCount = 0;

    DrawFightPhase();
    for (uint8_t c : {BG, BODY, TRAP, STAR1, STOCK}) EXPECT_EQ(CountIndex(c), 0) << int(c);
    // The shot unturned (the fighters' angle is 0), the spark and the go sign; the rest black.
    EXPECT_EQ(std::tuple(CountIndex(SHOT), CountIndex(SPARK), CountIndex(SIGN), CountIndex(0)),
              std::tuple(32 * 32, 32 * 32, 144 * 48, 640 * 480 - 2 * 32 * 32 - 144 * 48));
    EXPECT_EQ(std::tuple(g_Effect[0].nTime, g_nPhaseCount), std::tuple(9, 1));
}

// Both players' marks run right, player 1's from x 0, player 2's from x 592 when 3 or fewer
// wins are needed, else from 592 + (3 - needed) x 16. A damaged settings file can ask for any
// number of wins: the marks then lie far left, off screen. 268435457 is the count whose 32-bit
// product would wrap back to x 624.
TEST_F(BattleDraw, WinStarsOfPlayerTwoByWinsNeeded) {
    const struct {
        int nWinCount, nWin1, nWin2, nFirstX, nStars2;
    } cases[] = {{5, 2, 1, 560, 1}, {4, 2, 1, 576, 1}, {3, 2, 1, 592, 1},       {2, 2, 1, 592, 1},
                 {1, 2, 1, 592, 1}, {39, 0, 2, 16, 2}, {268435457, 0, 2, 0, 0}, {INT32_MAX, 0, 2, 0, 0}};
    for (const auto& c : cases) {
        g_Option.nWinCount = c.nWinCount;
        g_Chara[0].nWin = c.nWin1;
        g_Chara[1].nWin = c.nWin2;
        DrawBackground();
        DrawWins();
        SCOPED_TRACE(c.nWinCount);
        ExpectBlock(STAR1, 0, 0, 16 * c.nWin1, 16);
        ExpectBlock(STAR2, c.nFirstX, 0, 16 * c.nStars2, 16);
    }
}

TEST_F(BattleDraw, PaletteCycleRotatesEntriesSevenToFifteen) {
    g_nCycleCount = g_nCycleStep = 0;
    for (int i = 0; i < 256; i++) g_Palette[i].peRed = uint8_t(i);
    for (int i = 0; i < 4; i++) BattlePaletteCycle();
    EXPECT_EQ(g_Palette[7].peRed, 7);
    BattlePaletteCycle();  // 5th frame: step 1
    const int after5[9] = {15, 7, 8, 9, 10, 11, 12, 13, 14};
    for (int i = 0; i < 9; i++) EXPECT_EQ(g_Palette[7 + i].peRed, after5[i]);
    for (int i = 0; i < 5; i++) BattlePaletteCycle();  // step 2 on top: three places in all
    const int after10[9] = {13, 14, 15, 7, 8, 9, 10, 11, 12};
    for (int i = 0; i < 9; i++) EXPECT_EQ(g_Palette[7 + i].peRed, after10[i]);
    EXPECT_EQ(std::tuple(g_Palette[6].peRed, g_Palette[16].peRed, DDGetDisplayPalette()[7].peRed),
              std::tuple(6, 16, 13));
    // Steps 3 to 8 on top: 1 + 2 + ... + 8 = 36 places, four whole turns; the next step is 0.
    for (int i = 0; i < 35; i++) BattlePaletteCycle();
    for (int i = 0; i < 9; i++) EXPECT_EQ(g_Palette[7 + i].peRed, 7 + i);
}

// Player 1's still pictures come from the block 384 pixels to the right, player 2's from the
// sprite's own place; in the fight both use the sprite's own place, centred on the body.
TEST_F(BattleDraw, StillPicturesOfPlayerOneFromTheRightBlock) {
    DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 0, 0, 768, 256, 0);
    DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 96, 32, 32, 32, BODY);          // character 3, sprite 1
    DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 96 + 384, 32, 32, 32, STILL1);  // its still picture
    AnimSet(&g_Chara[0].anmBody, 0);
    AnimSet(&g_Chara[1].anmBody, 0);
    DrawBackground();
    DrawFighter(&g_Chara[0], true, false);
    DrawFighter(&g_Chara[1], true, false);
    ExpectBlock(STILL1, 100, 100, 32, 32);
    ExpectBlock(BODY, 400, 300, 32, 32);
    // Fight phase, angle 0: the sprite's centre (16, 16) on the body centre, 15 px in: one
    // pixel up and left of the box.
    DrawBackground();
    DrawFighter(&g_Chara[0], false, false);
    EXPECT_EQ(CountIndex(STILL1), 0);
    ExpectBlock(BODY, 99, 99, 32, 32);
}

// Attack (animation 1) and suction (animation 4) auras by body size; the body sprite of
// character 5 is left empty so the aura under it shows whole.
TEST_F(BattleDraw, AuraPieceBySizeAndSkill) {
    const struct {
        int nSize, nShift, bBig, bSmall, nAnim, nAuraX, nAuraY;
    } cases[] = {
        {32, 5, 0, 0, 1, 32, 96},  {32, 5, 0, 0, 4, 64, 96}, {64, 6, 1, 0, 1, 32, 128},
        {64, 6, 1, 0, 4, 96, 128}, {16, 4, 0, 1, 1, 96, 96}, {16, 4, 0, 1, 4, 112, 96},
    };
    for (const auto& t : cases) {
        DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 0, 0, 768, 256, 0);
        DDFillRect(g_Bitmap[BMP_EFFECT], 0, 0, 256, 256, 0);
        DDFillRect(g_Bitmap[BMP_EFFECT], t.nAuraX, t.nAuraY, t.nSize, t.nSize, AURA);
        CHARA& c = g_Chara[1];
        c.chr.nId = 5;
        c.box.nWidth = c.box.nHeight = t.nSize;
        c.box.nWidthShift = c.box.nHeightShift = t.nShift;
        c.bBig = t.bBig;
        c.bSmall = t.bSmall;
        BoxUpdate(&c.box);
        AnimSet(&c.anmBody, t.nAnim);
        DrawBackground();
        DrawFighter(&c, false, false);
        // The piece's centre (size / 2) lands on the body centre (size / 2 - 1 px in).
        SCOPED_TRACE(std::to_string(t.nAuraX) + " " + std::to_string(t.nAuraY));
        ExpectBlock(AURA, 399, 299, t.nSize, t.nSize);
    }
}

TEST_F(BattleDraw, GaugeFlashAtTheCornerAndStocksInTheSecondRow) {
    DDFillRect(g_Bitmap[BMP_EFFECT], 0, 64, 32, 32, FLASH);  // gauge sprite 0 (held)
    AnimSet(&g_Chara[0].anmGauge, 0);
    DrawBackground();
    DrawGaugeFlash(&g_Chara[0]);
    ExpectBlock(FLASH, 84, 84, 32, 32);
    g_Chara[1].nSkillFlag[2] = 1u << SKILL_CLONE;  // hidden while a clone runs
    DrawGaugeFlash(&g_Chara[1]);
    EXPECT_EQ(CountIndex(FLASH), 32 * 32);

    // 250 / 100 = 2 stocks for player 1 from x = 0, 300 / 100 = 3 for player 2 from x = 592.
    g_Chara[0].nGauge = 250;
    g_Chara[1].nGauge = 300;
    DrawBackground();
    DrawGaugeStocks();
    EXPECT_EQ(std::tuple(CountIndex(STOCK), Pixel(31, 31), Pixel(32, 16), Pixel(592, 16), Pixel(639, 31),
                         Pixel(591, 16)),
              std::tuple(5 * 16 * 16, STOCK, BG, STOCK, STOCK, BG));
    // The simple battle shows no stocks in the fight.
    for (int nMode : {3, 0}) {
        g_nBattleMode = nMode;
        DrawFightPhase();
        EXPECT_EQ(CountIndex(STOCK), nMode == 3 ? 0 : 5 * 16 * 16) << nMode;
    }
}

}  // namespace
