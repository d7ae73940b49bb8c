#include <tuple>

#include "battle/image.h"
#include "battle_fixture.h"

using ImageTest = BattleTest;

namespace {
void Fire(CHARA* lpChara, int32_t nId) {
    lpChara->nGauge = 300;
    lpChara->nSkill[0] = nId;
    INPUTSTATE in = Press(0);
    SkillTrigger(lpChara, &in, lpChara == &g_Chara[0] ? &g_Chara[1] : &g_Chara[0]);
}
}  // namespace

TEST_F(ImageTest, ShotFromAStillFighterFliesDownRightThreePixelsAFrame) {
    Fire(&A, SKILL_SHOT);
    for (int i = 0; i < 3; i++) ShotMove(&A);
    EXPECT_EQ(A.slot[0][0].box.nX, (99 + 9) * 1024);  // corner = centre 115 - 16
    EXPECT_EQ(A.slot[0][0].box.nY, (99 + 9) * 1024);
    EXPECT_EQ(A.slot[0][0].nCount, 3);
    EXPECT_EQ(Plays(SND_SHOT), 1);
    // At game speed 2 a shot aimed left by the held direction flies 1.5 x 3 pixels.
    g_Option.dGameSpeed = 2.0;
    PlaceFighter(&A, 100, 100);
    A.nAccelX = -23;
    Fire(&A, SKILL_SHOT);
    EXPECT_EQ(A.nSlotSpeedX[0], -4608);
    EXPECT_EQ(A.nSlotSpeedY[0], 0);
}

TEST_F(ImageTest, OneFrameShotPushesEachMovingAxisByTheFormula) {
    struct Case {
        int nMode, nDefense;
        int32_t nVX, nVY;
    };
    // trunc((70 + 716.8) / 1.0) = 786; shooting: trunc((70 + 1433.6) / 1.0) = 1503 after the
    // opposing y speed is zeroed; defence 1: trunc(786.8 / 0.6) = 1311.
    for (const Case& c : {Case{0, 3, 886, 586}, Case{2, 3, 1603, 1503}, Case{0, 1, 1411, 1111}}) {
        g_nBattleMode = c.nMode;
        g_Option.nDefense[1] = c.nDefense;
        PlaceFighter(&A, 100, 100);
        PlaceFighter(&B, 110, 110);
        std::memset(g_Effect, 0, sizeof g_Effect);
        B.nSpeedX = 100;
        B.nSpeedY = -200;
        Fire(&A, SKILL_SHOT);
        ShotMove(&A);
        ShotHit(&B, &A);
        // The spark at x ((125 + 117) x 1024 >> 11) - 8 = 113; the shot is spent.
        EXPECT_EQ(std::tuple(B.nSpeedX, B.nSpeedY, A.nSkillTime[0], g_Effect[0].nType, g_Effect[0].nX),
                  std::tuple(c.nVX, c.nVY, 0, 1, 113))
            << c.nMode << c.nDefense;
    }
}

TEST_F(ImageTest, TrapArmsFor100FramesThenLasts3PAndThrows) {
    PlaceFighter(&B, 110, 110);  // standing on the trap all along
    Fire(&A, SKILL_TRAP);
    for (int i = 0; i < 100; i++) {
        SkillTick(&A, &B);
        TrapHit(&B, &A);
    }
    EXPECT_EQ(std::tuple(B.nSpeedX, Plays(SND_TRAP), A.nSkillTime[0]), std::tuple(0, 1, 300));
    // Armed: rand() 41 % 4 = 1 throws left, y = 18467 % 4097 - 2048 = 31; defence 5 divides by 1.4.
    g_Option.nDefense[1] = 5;
    for (EFFECT& e : g_Effect) e.nTime = 7;
    TrapHit(&B, &A);
    EXPECT_EQ(std::tuple(B.nSpeedX, B.nSpeedY, Plays(SND_HIT_L)), std::tuple(-2925, 22, 1));
    for (const EFFECT& e : g_Effect) EXPECT_EQ(e.nTime, 7);  // no free spark entry
    EXPECT_EQ(A.nSkillTime[0], 0);
    SkillTick(&A, &B);
    EXPECT_EQ(A.nSkillFlag[0], 0u);

    // Without a victim the armed trap runs 3 x P = 300 ticks.
    PlaceFighter(&A, 100, 100);
    PlaceFighter(&B, 400, 400);
    Fire(&A, SKILL_TRAP);
    for (int i = 0; i < 100; i++) TrapHit(&B, &A);
    for (int i = 0; i < 299; i++) SkillTick(&A, &B);
    EXPECT_EQ(A.nSkillFlag[0], 1u << SKILL_TRAP);
    SkillTick(&A, &B);
    EXPECT_EQ(A.nSkillFlag[0], 0u);
}

TEST_F(ImageTest, ClonesMirrorTheOwnerAndAfterimagesDrift) {
    A.nSpeedX = 1000;
    A.nSpeedY = 2000;
    Fire(&A, SKILL_AFTERIMAGE);
    A.nSkill[0] = SKILL_CLONE;
    INPUTSTATE in = Press(0);
    SkillTrigger(&A, &in, &B);
    A.nSkill[0] = SKILL_CLONE4;
    SkillTrigger(&A, &in, &B);
    A.nSpeedX = 10;
    A.nSpeedY = 20;
    ImageMove(&A);
    const int32_t c = 115 * 1024;
    auto Centre = [](const IMAGE& i) { return std::tuple(i.box.nCenterX, i.box.nCenterY); };
    EXPECT_EQ(Centre(A.slot[0][0]), std::tuple(c + 1000, c + 2000));  // afterimage keeps its start speed
    EXPECT_EQ(Centre(A.slot[1][0]), std::tuple(c - 10, c - 20));
    EXPECT_EQ(Centre(A.slot[2][0]), std::tuple(c + 10, c - 20));
    EXPECT_EQ(Centre(A.slot[2][1]), std::tuple(c - 10, c + 20));
    EXPECT_EQ(A.slot[2][2].box.nCenterY, c - 20);
}
