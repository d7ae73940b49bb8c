// The battle scene frame by frame: set-up numbers, phase lengths, scoring and the match's end.
#include <climits>
#include <filesystem>
#include <string>
#include <tuple>

#include "app/frame.h"
#include "battle/battle_scene.h"
#include "battle_fixture.h"
#include "gfx/palette.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "support/lcg.h"

namespace {

class SceneFlow : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        m_dir = std::filesystem::current_path();
        ASSERT_NO_THROW(std::filesystem::current_path(POMRIN_DATA_DIR));  // the scene loads bmp/... from here
        ASSERT_TRUE(DDCreateSurface(g_BackBuffer, 640, 480, 0, 0));
        g_nTitleSelect = 1;
        g_nBattleStep = 0;
        g_nBattlePhase = 0;
        g_nScene = 2;
        A.chr = g_CharaTable[0];  // weight 60, speed 60, power 90
        B.chr = g_CharaTable[8];  // weight 40, speed 50, power 120
        for (INPUTSTATE& in : g_Input) in = INPUTSTATE{0, 0, 0, 5, 0, 0, 0, {}};
        // Both fades start from their beginning (an earlier test may have stopped halfway).
        DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 1);
        DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 1);
    }
    void TearDown() override { ASSERT_NO_THROW(std::filesystem::current_path(m_dir)); }

    // Runs frames until the phase changes; returns how many frames it took.
    int Until(int nPhase) {
        int n = 0;
        while (g_nBattlePhase != nPhase && n < 10000) {
            BattleMain();
            n++;
        }
        return n;
    }
    // From the ready phase: the go sign, nFight frames of fighting, then player 2 rolls out.
    void FightAndKnockOutB(int nFight) {
        Until(PHASE_FIGHT);
        for (int i = 0; i < nFight; i++) BattleMain();
        B.box.nX = 630 * 1024;  // centre 645: outside
        BattleMain();
    }
    std::filesystem::path m_dir;
};

TEST_F(SceneFlow, SetupRescalesTheCharactersAndStartsARoundWithOneStock) {
    struct Case {
        int nMode;
        double dSpeed;
        int32_t nSpeedA, nPowerA, nCostA, nSpeedB, nPowerB, nCostB;
    };
    // A: speed 60 / 4 + 8 = 23, power 180, cost 550 - 180 = 370 (shooting 123).
    // B: speed 50 / 4 + 8 = 20, power 240, cost 310 (shooting 103).
    // Game speed 2: speeds x 1.5, power and cost / 1.5, each truncated.
    for (const Case& c : {Case{0, 1.0, 23, 180, 370, 20, 240, 310}, Case{2, 1.0, 23, 180, 123, 20, 240, 103},
                          Case{0, 2.0, 34, 120, 246, 30, 160, 206}, Case{2, 2.0, 34, 120, 82, 30, 160, 68}}) {
        g_nBattleMode = c.nMode;
        g_Option.dGameSpeed = c.dSpeed;
        A.chr = g_CharaTable[0];
        B.chr = g_CharaTable[8];
        A.nWin = B.nWin = 2;
        A.nSkillFlag[1] = 1u << SKILL_BOOST;
        g_Effect[3].nTime = 9;
        g_nBattleStep = 0;
        CrtRandSetState(1);
        ASSERT_TRUE(BattleMain());
        // Speed, power, cost and the full gauge of each.
        EXPECT_EQ(
            std::tuple(A.chr.nSpeed, A.chr.nSkillPower, A.nGaugeCost, A.nGauge, B.chr.nSpeed,
                       B.chr.nSkillPower, B.nGaugeCost, B.nGauge),
            std::tuple(c.nSpeedA, c.nPowerA, c.nCostA, c.nCostA, c.nSpeedB, c.nPowerB, c.nCostB, c.nCostB))
            << c.nMode << " " << c.dSpeed;
        EXPECT_EQ(A.nWin + B.nWin, 0);
        EXPECT_EQ(A.nSkillFlag[1], 0u);
        EXPECT_EQ(g_Effect[3].nTime, 0);
        EXPECT_EQ(g_nBattlePhase, PHASE_FADE_IN);
        EXPECT_EQ(g_nBattleStep, 1);
        EXPECT_EQ(CrtRandState(), LcgSkip(1, 1));  // the background is the round's only draw
    }
}

// The phase lengths, the scoring and the return to character select are followed through
// whole matches in the match tests; here what those cannot see.
TEST_F(SceneFlow, ChangeUndoAtRoundEndAndTheResultSignCountingOnFromTheGoSign) {
    g_Option.nWinCount = 2;
    EXPECT_EQ(Until(PHASE_READY), 24);  // the fade-in's 24 steps
    FightAndKnockOutB(70);
    EXPECT_EQ(g_nPhaseCount, 60);  // the go sign stopped counting at 60

    // A change running at the knock-out is undone before the next round.
    A.nSkillFlag[2] = 1u << SKILL_CHANGE;
    ChangeSwap();
    const uint32_t dwState = CrtRandState();
    Until(PHASE_READY);
    // Characters back; speed, power and gauge rescaled once per match, not per round.
    EXPECT_EQ(std::tuple(A.chr.nId, B.chr.nId, A.chr.nSpeed, A.chr.nSkillPower, A.nGauge, g_nPhaseCount),
              std::tuple(0, 8, 23, 180, 370, 0));
    EXPECT_EQ(CrtRandState(), LcgSkip(dwState, 1));  // the new round's background

    // The second win ends the match; a running change then stays as it is.
    FightAndKnockOutB(70);
    A.nSkillFlag[0] = 1u << SKILL_CHANGE;
    ChangeSwap();
    Until(PHASE_MATCH_OVER);
    EXPECT_EQ(A.nWin, 2);
    EXPECT_EQ(A.chr.nId, 8);
    // The result sign takes the counter on from the go sign's 60 to 255.
    EXPECT_EQ(Until(PHASE_FADE_OUT), 255 - 60);
}

}  // namespace

TEST_F(SceneFlow, SkillsRunInTheFightExceptInTheSimpleBattle) {
    // Power 180, cost 370. The press starts アタック, whose first tick comes in the same frame,
    // and the gauge refills by one frame; in the simple battle nothing of this runs.
    for (int nMode : {0, 3}) {
        g_nBattleMode = nMode;
        g_nBattleStep = 0;
        g_nBattlePhase = 0;
        A.chr = g_CharaTable[0];
        B.chr = g_CharaTable[8];
        A.nSkill[0] = SKILL_ATTACK;
        for (INPUTSTATE& in : g_Input) in = INPUTSTATE{0, 0, 0, 5, 0, 0, 0, {}};
        Until(PHASE_FIGHT);
        g_Input[0].wButton = 1;
        BattleMain();
        g_Input[0].wButton = 0;
        EXPECT_EQ(std::tuple(A.nSkillFlag[0], A.nSkillTime[0], A.nGauge, B.nGauge),
                  nMode == 3 ? std::tuple(0u, 0, 370, 310) : std::tuple(1u << SKILL_ATTACK, 179, 1, 311))
            << nMode;
    }
}
