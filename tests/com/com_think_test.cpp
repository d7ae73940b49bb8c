// COM decisions: set-up, the ready shuffle, mode changes and the skill-button rolls.
// Rolls are checked against the generator's published formula: from state 2 the next draws
// are 45, 29216, 24198; from 8 and 10 the first draws are 64 and 71.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "app/crt_rand.h"
#include "app/option.h"
#include "battle/skill.h"
#include "com/com.h"
#include "com_test_util.h"

namespace {

// A COM of the given strength (player 2's record) and its opponent (player 1's), with
// decisions held off unless wanted. The real records, so that a look-ahead that touched them
// (チェンジ swaps the fighters' character data) would show.
struct Duel {
    CHARA& com = g_Chara[1];
    CHARA& enemy = g_Chara[0];
    Duel(int32_t nLevel, int32_t nMode, bool bDecide = false, int32_t nComX = 320, int32_t nComY = 240,
         int32_t nEnemyX = 100, int32_t nEnemyY = 100) {
        g_Option.nComLevel = nLevel;
        g_nBattleMode = nMode;
        g_Input[0] = INPUTSTATE{};
        g_Input[0].nDir = 5;
        com = MakeFighter(nComX, nComY);
        enemy = MakeFighter(nEnemyX, nEnemyY);
        ComSetup(&com);
        if (!bDecide) com.nComThinkInterval = 1000000;
    }
    ~Duel() { com = enemy = CHARA{}; }
    void Think() { ComThink(&com, &enemy); }
};

TEST(ComThink, SetupClearsTheComBlock) {
    CHARA c = MakeFighter(320, 240);
    std::memset(&c.nComReadyCount, 0x55, sizeof(CHARA) - offsetof(CHARA, nComReadyCount));
    g_Option.nComLevel = 4;
    ComSetup(&c);
    // The strongest row's numbers, the rest of the block cleared, the fighter part untouched.
    EXPECT_EQ(std::tuple(c.nComMode, c.nComPredict, c.nComThinkInterval, c.nComRate4,
                         c.bComDone12 | c.nComPlanPos | c.nComChaseCount | c.nComPlan[7], c.chr.nSpeed),
              std::tuple(1, 85, 1, 1000, 0, 23));
    g_Option.nComLevel = 9;  // out of range: the strongest row
    ComSetup(&c);
    EXPECT_EQ(std::tuple(c.nComStrength, c.nComWallMargin), std::tuple(4, 32));
}

TEST(ComThink, ReadyShuffleHoldsEachChoiceTenFrames) {
    // Weight 420 against 20: t = rand % 201 + 170, always at least 100: up-left every time.
    for (int32_t nWeight : {420, -380}) {
        Duel d(2, 0);
        d.com.chr.nWeight = nWeight;
        d.enemy.chr.nWeight = 20;
        CrtRandSetState(99);
        for (int f = 1; f <= 29; ++f) {
            ComReady(&d.com, &d.enemy);
            const int32_t nExpect = f < 10 ? 5 : (nWeight > 0 ? 1 : 9);
            EXPECT_EQ(g_Input[1].nDir, nExpect) << f;
            EXPECT_EQ(CrtRandState(), LcgSkip(99, f < 10 ? 0 : f < 20 ? 3 : 6)) << f;
        }
    }
}

TEST(ComThink, ModeChanges) {
    {  // Enemy at rest while the COM moves: chase.
        Duel d(4, 3);
        d.com.nSpeedX = 2000;
        d.Think();
        EXPECT_EQ(d.com.nComMode, 0);
    }
    {  // A collision: chase, count and approach judgement cleared.
        Duel d(4, 3);
        d.enemy.nSpeedX = -3000;  // moving away, no threat
        d.com.bComReset = 1;
        d.com.nComChaseCount = 500;
        d.com.bComIncoming = 1;
        d.Think();
        EXPECT_EQ(d.com.nComMode, 0);
        EXPECT_EQ(d.com.nComChaseCount, 0);
        EXPECT_EQ(d.com.bComIncoming, 0);
        EXPECT_EQ(d.com.bComReset, 0);
    }
    {  // The 851st chase frame switches to dodge.
        Duel d(4, 3);
        d.com.nSpeedX = 2000;
        d.enemy.nSpeedY = 3000;
        d.com.nComMode = 0;
        d.com.nComChaseCount = 849;
        d.Think();
        EXPECT_EQ(d.com.nComMode, 0);
        d.Think();
        EXPECT_EQ(d.com.nComMode, 1);
    }
}

TEST(ComThink, ApproachJudgedOncePerApproach) {
    // COM (weight 20) still at (400, 300), enemy (weight 60) rolling at it from (300, 300):
    // t = 50 - (20 - 60) / 2 + 40 - 40 = 70.
    for (uint32_t nSeed : {8u, 10u}) {  // 64 % 100 + 1 = 65 dodges, 71 % 100 + 1 = 72 does not
        Duel d(4, 3, false, 400, 300, 300, 300);
        d.com.chr.nWeight = 20;
        d.com.nComMode = 0;
        d.enemy.nSpeedX = 2048;
        CrtRandSetState(nSeed);
        d.Think();
        EXPECT_EQ(d.com.bComIncoming, 1);
        EXPECT_EQ(d.com.nComMode, nSeed == 8 ? 1 : 0);
        EXPECT_EQ(CrtRandState(), LcgSkip(nSeed, 1));
        d.Think();  // the same approach is not judged again
        EXPECT_EQ(CrtRandState(), LcgSkip(nSeed, 1));
    }
}

TEST(ComThink, FallPressesButton4OnlyInNormalBattle) {
    // A mode number outside 0..3 (damaged settings) is played as the normal battle.
    for (int32_t nMode : {0, 1, 2, 3, 7, -1}) {
        const bool bNormal = nMode < 1 || nMode > 3;
        Duel d(4, nMode, false, 5, 240);
        d.com.nSpeedX = -3072;  // out within two frames
        d.enemy.nSpeedY = 2048;
        CrtRandSetState(2);
        d.Think();
        EXPECT_EQ(g_Input[1].wButton, bNormal ? 8 : 0) << nMode;
        EXPECT_EQ(CrtRandState(), LcgSkip(2, bNormal ? 2 : 0)) << nMode;
        d.Think();  // the same predicted fall: the n draw, no second roll
        EXPECT_EQ(g_Input[1].wButton, 0) << nMode;
        EXPECT_EQ(CrtRandState(), LcgSkip(2, bNormal ? 3 : 0)) << nMode;
    }
}

// All look-aheads run on copies: whatever the COM decides, the opponent's record and the
// fighter part of its own record are exactly as before. Cases: chasing and dodging with ブースト
// on button 3, and ramming a still opponent at 6000 (the boost look-ahead runs) with チェンジ there.
TEST(ComThink, DecidingChangesOnlyTheComBlock) {
    constexpr size_t nFighter = offsetof(CHARA, nComReadyCount);
    const struct {
        int32_t nComMode, nSkill, nEnemyX, nEnemyY, nComVX, nEnemyVX, nEnemyVY;
    } cases[] = {{0, SKILL_BOOST, 360, 250, 3000, -2500, 700},
                 {1, SKILL_BOOST, 360, 250, 3000, -2500, 700},
                 {0, SKILL_CHANGE, 345, 240, 6000, 0, 0}};
    for (const auto& c : cases) {
        Duel d(4, 0, true, 300, 240, c.nEnemyX, c.nEnemyY);
        d.com.chr.nId = 5;
        d.enemy.chr.nId = 7;
        d.com.nComMode = c.nComMode;
        d.com.nSkill[2] = c.nSkill;
        d.com.nGauge = d.com.nGaugeCost = 100;
        d.com.nSpeedX = c.nComVX;
        d.enemy.nSpeedX = c.nEnemyVX;
        d.enemy.nSpeedY = c.nEnemyVY;
        g_Input[0].nDir = c.nEnemyVX ? 4 : 5;
        for (int f = 0; f < 20; ++f) {
            CHARA com, enemy;  // byte copies, padding included
            std::memcpy(&com, &d.com, sizeof(CHARA));
            std::memcpy(&enemy, &d.enemy, sizeof(CHARA));
            d.Think();
            EXPECT_EQ(std::memcmp(&d.enemy, &enemy, sizeof(CHARA)), 0)
                << c.nSkill << " " << c.nComMode << " " << f;
            EXPECT_EQ(std::memcmp(&d.com, &com, nFighter), 0) << c.nSkill << " " << c.nComMode << " " << f;
            // Let both roll on as the battle would, without a collision.
            d.com.box.nX += d.com.nSpeedX / 4;
            d.enemy.box.nX += d.enemy.nSpeedX / 4;
            BoxUpdate(&d.com.box);
            BoxUpdate(&d.enemy.box);
        }
    }
}

}  // namespace
