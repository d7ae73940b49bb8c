// Character select driven frame by frame through the input records.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <tuple>

#include "app/crt_rand.h"
#include "app/frame.h"
#include "app/option.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "input/input.h"
#include "select/select.h"
#include "support/lcg.h"

namespace {

enum : uint16_t { LEFT = 0x1, RIGHT = 0x2, B1 = 0x1, B2 = 0x2, B3 = 0x4 };

void Step(uint16_t wButton0 = 0, uint16_t wDir0 = 0, uint16_t wButton1 = 0, uint16_t wDir1 = 0) {
    g_Input[0].wButton = wButton0;
    g_Input[0].wDir = wDir0;
    g_Input[1].wButton = wButton1;
    g_Input[1].wDir = wDir1;
    SelectMain();
}

// A press and its release.
void Press(uint16_t wButton0, uint16_t wDir0 = 0, uint16_t wButton1 = 0, uint16_t wDir1 = 0) {
    Step(wButton0, wDir0, wButton1, wDir1);
    Step();
}

class Select : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_THROW(std::filesystem::current_path(POMRIN_DATA_DIR));
        DDCreateSurface(g_BackBuffer, 640, 480, 0, 0);
        std::memset(g_Input, 0, sizeof g_Input);
        std::memset(g_Cursor, 0, sizeof g_Cursor);
        g_nRoulette[0] = g_nRoulette[1] = 0;
        g_nBattleMode = 0;
        g_nSelectStep = 0;
    }
    void TearDown() override {
        if (g_nSelectStep != 0) SelectRelease();
    }
    // Enters from the title and runs the fade-in.
    void Enter(int nTitleSelect) {
        g_nTitleSelect = nTitleSelect;
        for (int i = 0; i < 24; i++) Step();
        ASSERT_EQ(g_nSelectState, nTitleSelect == 1 ? SELECT_VS_CHARA : SELECT_COM_CHARA);
    }
};

TEST_F(Select, RouletteJumpsEightTimesInFortyFramesThenWaits) {
    Enter(0);
    Step(B3);
    EXPECT_EQ(g_nRoulette[0], 40);
    uint32_t dwExpect = CrtRandState();
    int nCol = g_Cursor[0].nCol;
    for (int nFrame = 1; nFrame <= 40; nFrame++) {
        Step();
        if (nFrame % 5 == 0) nCol = LcgDraw(dwExpect) % 12;  // counts 35, 30, ..., 0
        ASSERT_EQ(CrtRandState(), dwExpect) << nFrame;
        ASSERT_EQ(g_Cursor[0].nCol, nCol) << nFrame;
        ASSERT_EQ(g_Cursor[0].nX, 136 + 32 * nCol);
    }
    EXPECT_EQ(g_nRoulette[0], 0);
    for (int i = 0; i < 10; i++) Step();
    EXPECT_EQ(CrtRandState(), dwExpect);
    EXPECT_EQ(g_Cursor[0].nChosen, 0);
    Step(B1);
    EXPECT_EQ(g_Cursor[0].nChosen, nCol + 1);
}

TEST_F(Select, VsComFlowHandsOverWrappedSkillAndComDefaults) {
    Enter(0);
    Press(0, RIGHT);
    Press(B1);  // player 1 takes character 1
    EXPECT_EQ(g_Cursor[0].nChosen, 2);
    EXPECT_STREQ(g_Chara[0].chr.szName, "オジー");
    Press(B2);  // back to his own choice
    EXPECT_EQ(std::tuple(g_Cursor[0].nChosen, g_Cursor[0].nCol), std::tuple(0, 1));
    Press(B1);
    Press(0, LEFT);
    Press(B1);  // the COM gets character 11
    EXPECT_EQ(std::tuple(g_nSelectState, g_nLastChara[0], g_nLastChara[1], g_Chara[1].chr.nWeight),
              std::tuple(SELECT_COM_SKILL, 1, 11, 100));
    // Left on index 0 of the normal list wraps to the last entry, 反射.
    Press(0, LEFT);
    EXPECT_EQ(g_nSkillChoice[0][0], 3);
    EXPECT_STREQ(SkillListOf(0)->szName[3], "反射");
    Press(B1);
    EXPECT_EQ(std::tuple(g_nSelectState, g_nNextScene, g_Chara[0].nControl, g_Chara[1].nControl),
              std::tuple(SELECT_FADE_OUT, SCENE_BATTLE, 0, 2));
    const int32_t p1[4] = {SKILL_REFLECT, SKILL_SHIELD, SKILL_BOOST, SKILL_REFLECT};
    const int32_t com[4] = {SKILL_ATTACK, SKILL_SHIELD, SKILL_BOOST, SKILL_REFLECT};
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(g_Chara[0].nSkill[k], p1[k]);
        EXPECT_EQ(g_Chara[1].nSkill[k], com[k]);
    }
    for (int i = 0; i < 23; i++) Step();  // the release frame of the press ran the first fade step
    EXPECT_EQ(std::tuple(g_nSelectStep, g_Cursor[0].nRow), std::tuple(-1, 0));
    Step();
    EXPECT_EQ(g_nScene, SCENE_BATTLE);

    // Back from the battle: the cursors on that battle's characters, nothing chosen, the
    // skill choices as they were (player 1's wrapped choice included).
    g_nScene = SCENE_SELECT;
    Enter(0);
    EXPECT_EQ(std::tuple(g_Cursor[0].nCol, g_Cursor[1].nCol,
                         g_Cursor[0].nChosen | g_Cursor[1].nChosen | g_Cursor[0].nDecided,
                         g_nSkillChoice[0][0], g_nSkillChoice[2][1]),
              std::tuple(1, 11, 0, 3, 2));
}

TEST_F(Select, SkillRouletteRollsFourChoicesEveryFifthFrame) {
    g_nBattleMode = 1;  // the trick list: 17 skills
    Enter(1);
    Press(B1);
    Press(0, 0, B1);
    Step();
    ASSERT_EQ(g_nSelectState, SELECT_VS_SKILL);
    Step(0, 0, B3);
    EXPECT_EQ(g_nRoulette[1], 40);
    uint32_t dwExpect = CrtRandState();
    int nChoice[4] = {0, 1, 2, 3};
    for (int nFrame = 1; nFrame <= 40; nFrame++) {
        Step();
        if (nFrame % 5 == 0)  // counts 35, 30, ..., 0: four separate draws
            for (int& n : nChoice) n = LcgDraw(dwExpect) % 17;
        ASSERT_EQ(CrtRandState(), dwExpect) << nFrame;
        for (int k = 0; k < 4; k++) {
            ASSERT_EQ(g_nSkillChoice[k][1], nChoice[k]) << nFrame;
            ASSERT_EQ(g_nSkillChoice[k][0], k) << nFrame;  // player 1's untouched
        }
    }
    Step();
    EXPECT_EQ(CrtRandState(), dwExpect);
    EXPECT_EQ(g_Cursor[1].nDecided, 0);  // the player still has to confirm
}

TEST_F(Select, TwoPlayersWithdrawAndCancelFreeOnlyTheirOwnChoice) {
    Enter(1);
    EXPECT_EQ(g_Cursor[1].nCol, 10);
    Press(0, RIGHT);
    Press(0, RIGHT);
    Press(B1);
    EXPECT_EQ(g_Cursor[0].nChosen, 3);
    // Player 1 withdraws with button 2 while player 2 is still choosing.
    Step(B2);
    EXPECT_EQ(std::tuple(g_Cursor[0].nChosen, g_Cursor[0].nCol), std::tuple(0, 2));
    Step();
    Press(B1);
    Press(0, 0, B1);
    Step();
    EXPECT_EQ(std::tuple(g_nSelectState, g_nLastChara[0], g_nLastChara[1]),
              std::tuple(SELECT_VS_SKILL, 2, 10));
    // Player 1 confirms row 1, then takes it back with button 2.
    Press(0, 0x8);
    Press(B1);
    EXPECT_EQ(g_Cursor[0].nDecided, 2);
    Step(B2);
    EXPECT_EQ(std::tuple(g_Cursor[0].nDecided, g_Cursor[0].nRow), std::tuple(0, 1));
    Step();
    // Player 2 cancels his skills: only his character is released.
    Press(0, 0, B2);
    EXPECT_EQ(std::tuple(g_nSelectState, g_Cursor[0].nChosen, g_Cursor[0].nCol, g_Cursor[1].nChosen,
                         g_Cursor[1].nCol),
              std::tuple(SELECT_VS_CHARA, 3, 2, 0, 10));
    // Both confirm: a two-player hand-over.
    Press(0, 0, B1);
    Step();
    Press(B1);
    Press(0, 0, B1);
    EXPECT_EQ(std::tuple(g_nSelectState, g_Chara[1].nControl, g_nNextScene),
              std::tuple(SELECT_FADE_OUT, 1, SCENE_BATTLE));
}

}  // namespace
