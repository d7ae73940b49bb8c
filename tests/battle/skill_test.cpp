#include <tuple>

#include "battle/collision.h"
#include "battle_fixture.h"

using SkillTest = BattleTest;

TEST_F(SkillTest, GaugeFillsToThreeStocksWithTheSkillSoundAtEach) {
    A.nGauge = 100;  // one stock, cost 100
    for (int i = 0; i < 99; i++) SkillTick(&A, &B);
    EXPECT_EQ(Plays(SND_SKILL), 0);
    SkillTick(&A, &B);
    EXPECT_EQ(std::tuple(Plays(SND_SKILL), A.anmGauge.nAnim), std::tuple(1, 1));
    for (int i = 0; i < 150; i++) SkillTick(&A, &B);
    EXPECT_EQ(std::tuple(A.nGauge, Plays(SND_SKILL)), std::tuple(300, 2));
}

TEST_F(SkillTest, PressSpendsAStockInTheFirstFreeSlotLowestButtonFirstOrIsIgnored) {
    A.nGauge = 300;
    A.nSkill[1] = SKILL_SHIELD;
    A.nSkill[3] = SKILL_METAL;
    A.nSkillFlag[0] = 1u << SKILL_BOOST;
    INPUTSTATE in = Press(1);
    in.wButton |= 8;
    SkillTrigger(&A, &in, &B);
    EXPECT_EQ(std::tuple(A.nSkillFlag[1], A.nSkillTime[1], A.nGauge, A.anmBody.nAnim),
              std::tuple(1u << SKILL_SHIELD, 100, 200, 2));
    // The pose stays while shield runs, returns when it ends.
    A.nSkillTime[1] = 1;
    SkillTick(&A, &B);
    EXPECT_EQ(std::tuple(A.nSkillFlag[1], A.anmBody.nAnim), std::tuple(0u, 0));

    // An empty gauge, no button, busy slots or a damaged skill id: the press does nothing.
    PlaceFighter(&A, 100, 100);
    A.nGauge = 99;
    in = Press(0);
    SkillTrigger(&A, &in, &B);
    A.nGauge = 100;
    INPUTSTATE none = Press(0);
    none.wButton = 0;
    SkillTrigger(&A, &none, &B);  // not remembered
    EXPECT_EQ(A.nSkillFlag[0], 0u);
    A.nGauge = 300;
    for (uint32_t& f : A.nSkillFlag) f = 1u << SKILL_SHADE;
    SkillTrigger(&A, &in, &B);
    EXPECT_EQ(A.nGauge, 300);
    A.nSkillFlag[2] = 0;
    for (int32_t nId : {-1, int32_t(SKILL_COUNT), 99}) {  // a damaged skill id does nothing
        A.nSkill[0] = nId;
        SkillTrigger(&A, &in, &B);
        EXPECT_EQ(A.nGauge, 300) << nId;
    }
}

TEST_F(SkillTest, DurationsAndPosesAtPower100) {
    const int32_t nTime[SKILL_COUNT] = {100, 100, 40, 70,  30,  200, 200, 300, 200,
                                        200, 120, 70, 300, 200, 200, 250, 100};
    const int32_t nPose[SKILL_COUNT] = {1, 2, 2, 0, 2, 0, 4, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0};
    for (int32_t nId = 0; nId < SKILL_COUNT; nId++) {
        PlaceFighter(&A, 100, 100);
        g_SkillHandler[nId](&A, 2);
        EXPECT_EQ(std::tuple(A.nSkillFlag[2], A.nSkillTime[2], A.anmBody.nAnim),
                  std::tuple(1u << nId, nTime[nId], nPose[nId]))
            << nId;
    }
}

TEST_F(SkillTest, BigWhileSmallReturnsToNormalFirstAndRefusesWhenCrowded) {
    A.nGauge = 300;
    A.nSkill[0] = SKILL_SMALL;
    A.nSkill[1] = SKILL_BIG;
    INPUTSTATE small = Press(0), big = Press(1);
    SkillTrigger(&A, &small, &B);
    EXPECT_EQ(A.box.nX, 106 * 1024);  // normal first: centre 115 -> 114; then 114 - 8
    SkillTrigger(&A, &big, &B);
    // Small centre 113, normal 112, minus 32.
    EXPECT_EQ(
        std::tuple(A.nSkillFlag[0], A.nSkillFlag[1], A.box.nX, A.box.nWidth, A.bBig, A.bSmall, A.nSizeRow),
        std::tuple(0u, 1u << SKILL_BIG, 80 * 1024, 64, 1, 0, 64));
    // Grown from centre 115 a big body would reach x 146: an opponent at 140 blocks it.
    PlaceFighter(&A, 100, 100);
    PlaceFighter(&B, 140, 100);
    A.nGauge = 300;
    A.nSkill[0] = SKILL_BIG;
    SkillTrigger(&A, &small, &B);
    EXPECT_EQ(std::tuple(A.nGauge, Headless_Plays().size()), std::tuple(300, 0u));
}

TEST_F(SkillTest, SmallStaysSmallInsideTheOpponentUntilThereIsRoom) {
    A.nSkillFlag[0] = 1u << SKILL_SMALL;
    SizeSmall(&A);
    A.nSkillFlag[0] = 1u << SKILL_SMALL;
    A.nSkillTime[0] = 1;
    PlaceFighter(&B, 120, 110);
    SkillTick(&A, &B);
    SkillTick(&A, &B);
    EXPECT_EQ(std::tuple(A.bSmall, A.nSkillTime[0]), std::tuple(1, -1));
    PlaceFighter(&B, 300, 300);
    SkillTick(&A, &B);
    // 115 -> small 114 -> normal 113.
    EXPECT_EQ(std::tuple(A.bSmall, A.nSkillFlag[0], A.box.nWidth, A.box.nCenterX),
              std::tuple(0, 0u, 32, 113 * 1024));
}

TEST_F(SkillTest, TwoChangesCancelAndTheRoundEndUndoRestoresOwners) {
    A.chr = g_CharaTable[0];
    B.chr = g_CharaTable[6];
    A.chr.nSkillPower = 100;
    A.nGauge = B.nGauge = 300;
    A.nSkill[0] = B.nSkill[0] = SKILL_CHANGE;
    INPUTSTATE in = Press(0);
    SkillTrigger(&A, &in, &B);
    EXPECT_EQ(std::tuple(A.chr.nId, A.nSkillTime[0]),
              std::tuple(6, 250));  // the user's power before the swap
    ChangeUndo();
    EXPECT_EQ(A.chr.nId, 0);
    ChangeUndo();
    SkillTrigger(&B, &in, &A);
    EXPECT_EQ(A.chr.nId, 0);
    ChangeUndo();
    EXPECT_EQ(std::tuple(A.chr.nId, B.chr.nId), std::tuple(0, 6));
}

TEST_F(SkillTest, FreeRefusedFrom1500WithErrorSoundAndEndsWithZeroSpeed) {
    A.nGauge = 300;
    A.nSkill[0] = SKILL_FREE;
    A.nSpeedX = 900;
    A.nSpeedY = 1200;
    INPUTSTATE in = Press(0);
    SkillTrigger(&A, &in, &B);
    EXPECT_EQ(std::tuple(A.nGauge, Plays(SND_ERROR)), std::tuple(300, 3));  // the sound once per free slot
    A.nSpeedX = 0;
    A.nSpeedY = 1499;
    SkillTrigger(&A, &in, &B);
    EXPECT_EQ(A.nSkillFlag[0], 1u << SKILL_FREE);
    A.nSkillTime[0] = 1;
    SkillTick(&A, &B);
    EXPECT_EQ(A.nSpeedY, 0);
}

TEST_F(SkillTest, ReflectTurnsBackAtEachEdge) {
    A.nSkillFlag[0] = 1u << SKILL_REFLECT;
    struct Case {
        int32_t nX, nY, nVX, nVY, nCX, nCY;
    };
    const int32_t nIn = 100 * 1024;
    for (const Case& c : {Case{-16 * 1024, nIn, -2048, 0, 0, nIn + 15360},
                          Case{625 * 1024, nIn, 2048, 0, 655359, nIn + 15360},
                          Case{nIn, -15 * 1024 - 1, 0, -2048, nIn + 15360, 0},
                          Case{nIn, 465 * 1024, 0, 2048, nIn + 15360, 491519}}) {
        A.box.nX = c.nX;
        A.box.nY = c.nY;
        A.nSpeedX = c.nVX;
        A.nSpeedY = c.nVY;
        BoxUpdate(&A.box);
        SkillReflect(&A);
        EXPECT_EQ(std::tuple(A.box.nCenterX, A.box.nCenterY, A.nSpeedX, A.nSpeedY),
                  std::tuple(c.nCX, c.nCY, -c.nVX, -c.nVY));
        EXPECT_FALSE(IsOutOfArena(&A));
    }
    EXPECT_EQ(Plays(SND_REFLECT), 4);
}

TEST_F(SkillTest, SuctionPullsThirtyAlongTheLineAndNothingAtZeroDistance) {
    PlaceFighter(&B, 400, 500);  // corner 300 right, 400 down of A's: 0.6 and 0.8 of 30
    B.nSkillFlag[1] = 1u << SKILL_SUCTION;
    SkillSuction(&A, &B);
    EXPECT_EQ(std::tuple(A.nSpeedX, A.nSpeedY), std::tuple(18, 24));
    PlaceFighter(&B, 100, 100);
    B.nSkillFlag[0] = B.nSkillFlag[2] = 1u << SKILL_SUCTION;
    SkillSuction(&A, &B);
    EXPECT_EQ(std::tuple(A.nSpeedX, A.nSpeedY), std::tuple(18, 24));
}
