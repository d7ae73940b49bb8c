// Character select picture: arrows, portraits and the character row, with made-up sheets
// whose colours tell the pieces apart.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "app/option.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "select/select.h"
#include "support/surface.h"

namespace {

enum : uint8_t { BG = 1, CHARA0 = 100, ARROW_C1 = 30, ARROW_C2 = 31, ARROW_S1 = 32, ARROW_S2 = 33 };

class SelectPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        DDCreateSurface(g_BackBuffer, 640, 480, 0, 0);
        DDCreateSurface(g_Bitmap[BMP_CHARA_SELECT], 640, 480, 0, 0);
        DDFillRect(g_Bitmap[BMP_CHARA_SELECT], 0, 0, 640, 480, BG);
        // Sprite 1 of character i is solid colour 100 + i.
        DDCreateSurface(g_Bitmap[BMP_BATTLE_CHARA], 768, 256, 1, 0);
        for (int i = 0; i < 12; i++)
            DDFillRect(g_Bitmap[BMP_BATTLE_CHARA], 32 * i, 32, 32, 32, uint8_t(CHARA0 + i));
        DDCreateSurface(g_Bitmap[BMP_OTHER], 64, 64, 1, 0);
        DDFillRect(g_Bitmap[BMP_OTHER], 32, 0, 16, 16, ARROW_C1);
        DDFillRect(g_Bitmap[BMP_OTHER], 32, 16, 16, 16, ARROW_C2);
        DDFillRect(g_Bitmap[BMP_OTHER], 16, 0, 16, 16, ARROW_S1);
        DDFillRect(g_Bitmap[BMP_OTHER], 16, 16, 16, 16, ARROW_S2);
        std::memset(g_Cursor, 0, sizeof g_Cursor);
        g_nBattleMode = 0;
    }
    static void PlaceCharaCursor(CURSOR& c, int nCol) {
        c.nCol = nCol;
        c.nX = 136 + 32 * nCol;
        c.nY = 304;
    }
};

TEST_F(SelectPicture, VsComCharacterChoice) {
    g_nSelectState = SELECT_COM_CHARA;
    PlaceCharaCursor(g_Cursor[0], 4);
    PlaceCharaCursor(g_Cursor[1], 7);
    SelectDraw();
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(Pixel(128 + 32 * i, 320), CHARA0 + i) << i;
        EXPECT_EQ(Pixel(159 + 32 * i, 351), CHARA0 + i) << i;
    }
    ExpectBlock(ARROW_C1, 264, 304, 16, 16);
    // The COM's arrow and picture wait until player 1 has his character.
    EXPECT_EQ(std::tuple(CountIndex(ARROW_C2), Pixel(16, 64), Pixel(47, 95), Pixel(592, 64)),
              std::tuple(0, CHARA0 + 4, CHARA0 + 4, BG));

    g_Cursor[0].nChosen = 5;
    SelectDraw();
    EXPECT_EQ(CountIndex(ARROW_C1), 0);
    ExpectBlock(ARROW_C2, 362, 304, 16, 16);  // two pixels right of the cursor position
    EXPECT_EQ(std::tuple(Pixel(592, 64), Pixel(623, 95), Pixel(16, 64)),
              std::tuple(CHARA0 + 7, CHARA0 + 7, CHARA0 + 4));
}

TEST_F(SelectPicture, TwoPlayerSkillChoiceShowsTheChosenCharacters) {
    g_nSelectState = SELECT_VS_SKILL;
    g_Cursor[0] = CURSOR{0, 2, 64, 163 + 19 * 2, 3, 0};
    g_Cursor[1] = CURSOR{0, 1, 400, 163 + 19, 9, 2};  // confirmed: no arrow
    SelectDraw();
    ExpectBlock(ARROW_S1, 64, 201, 16, 16);
    EXPECT_EQ(std::tuple(CountIndex(ARROW_S2) + CountIndex(ARROW_C1) + CountIndex(ARROW_C2), Pixel(16, 64),
                         Pixel(592, 64)),
              std::tuple(0, CHARA0 + 2, CHARA0 + 8));

    g_Cursor[1].nDecided = 0;
    SelectDraw();
    ExpectBlock(ARROW_S2, 400, 182, 16, 16);
}

}  // namespace
