// A long run of the fight-phase rules with random inputs, skills, modes and settings,
// including damaged settings values. Set POMRIN_RULES_FRAMES for a longer run.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "battle/collision.h"
#include "battle/image.h"
#include "battle/move.h"
#include "battle_fixture.h"

namespace {
std::mt19937 g_Rng(20240605);
int Pick(int nLo, int nHi) {
    return std::uniform_int_distribution<int>(nLo, nHi)(g_Rng);
}

CHARACTER g_Picked[2];

void StartRound() {
    const double dSpeeds[] = {-1.0, 0.0, std::nan(""), 1e300, 2.5};
    g_Option.dGameSpeed = Pick(0, 9) ? Pick(1, 20) : dSpeeds[Pick(0, 4)];
    for (int32_t& n : g_Option.nDefense) n = Pick(-3, 9);
    g_nBattleMode = Pick(0, 9) ? Pick(0, 3) : 7;
    for (int i = 0; i < 2; i++) {
        CHARA& c = g_Chara[i];
        PlaceFighter(&c, i ? 480 : 128, i ? 352 : 96);
        c.nControl = Pick(0, 3);
        c.chr = g_CharaTable[Pick(0, CHARA_COUNT - 1)];
        c.chr.nSkillPower *= 2;
        c.chr.nSpeed = SpeedUp(c.chr.nSpeed / 4 + 8);
        c.nGaugeCost = SlowDown((550 - c.chr.nSkillPower) / (g_nBattleMode == 2 ? 3 : 1));
        c.chr.nSkillPower = SlowDown(c.chr.nSkillPower);
        c.nGauge = c.nGaugeCost;
        for (int32_t& s : c.nSkill) s = Pick(0, 20) ? Pick(0, SKILL_COUNT - 1) : Pick(-5, 40);
        g_Picked[i] = c.chr;
    }
}

int g_nCollisions, g_nRounds;
uint32_t g_dwSkillsSeen;

void FightFrame(INPUTSTATE* lpIn) {
    CHARA* P = g_Chara;
    MoveFighter(&lpIn[0], &P[0]);
    MoveFighter(&lpIn[1], &P[1]);
    if (g_nBattleMode != 3) {
        for (int i = 0; i < 2; i++) ImageMove(&P[i]);
        for (int i = 0; i < 2; i++) ShotMove(&P[i]);
        SkillSuction(&P[0], &P[1]);
        SkillSuction(&P[1], &P[0]);
        for (int i = 0; i < 2; i++) SkillReflect(&P[i]);
        for (int i = 0; i < 2; i++) SkillTrigger(&P[i], &lpIn[i], &P[1 - i]);
        for (int i = 0; i < 2; i++) SkillTick(&P[i], &P[1 - i]);
    }
    if (BoxOverlap(&P[0].box, &P[1].box)) {
        FighterCollision(&P[0], &P[1]);
        g_nCollisions++;
    }
    ShotHit(&P[0], &P[1]);
    ShotHit(&P[1], &P[0]);
    TrapHit(&P[0], &P[1]);
    TrapHit(&P[1], &P[0]);
}

bool SameChr(const CHARACTER& a, const CHARACTER& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
}  // namespace

TEST_F(BattleTest, RandomFightsKeepTheRulesInvariants) {
    const char* szFrames = std::getenv("POMRIN_RULES_FRAMES");
    const long nFrames = szFrames ? std::atol(szFrames) : 20000;
    StartRound();
    for (long f = 0; f < nFrames; f++) {
        INPUTSTATE in[2]{};
        for (int n = 0; n < 2; n++) {
            INPUTSTATE& i = in[n];
            // Mostly steer at the opponent so that fights happen, else anything (bad values too).
            const BOX &me = g_Chara[n].box, &him = g_Chara[1 - n].box;
            const int nDX = (him.nCenterX > me.nCenterX) - (him.nCenterX < me.nCenterX);
            const int nDY = (him.nCenterY > me.nCenterY) - (him.nCenterY < me.nCenterY);
            i.nDir = Pick(0, 2) ? 5 + nDX + 3 * nDY : Pick(0, 11);
            i.wButton = uint16_t(Pick(0, 3) ? 0 : Pick(0, 0xFFFF));
        }
        FightFrame(in);
        for (CHARA& c : g_Chara) {
            AnimStep(&c.anmBody);
            ASSERT_GE(AnimStep(&c.anmGauge), 0);
            for (uint32_t dwFlag : c.nSkillFlag) {
                g_dwSkillsSeen |= dwFlag;
                ASSERT_TRUE(dwFlag == 0 || (dwFlag < (1u << SKILL_COUNT) && !(dwFlag & (dwFlag - 1))));
            }
            ASSERT_LE(c.nGauge, 3 * c.nGaugeCost);
            ASSERT_TRUE(c.nAngle >= 0 && c.nAngle < 360);
            ASSERT_EQ(c.box.nWidth, c.bBig ? 64 : c.bSmall ? 16 : 32);
        }
        ASSERT_TRUE((SameChr(g_Chara[0].chr, g_Picked[0]) && SameChr(g_Chara[1].chr, g_Picked[1])) ||
                    (SameChr(g_Chara[0].chr, g_Picked[1]) && SameChr(g_Chara[1].chr, g_Picked[0])));
        for (EFFECT& e : g_Effect) {
            ASSERT_TRUE(e.nType >= 0 && e.nType <= 2 && e.nTime >= 0 && e.nTime <= 50);
            if (e.nTime) e.nTime--;
        }
        if (IsOutOfArena(&g_Chara[0]) || IsOutOfArena(&g_Chara[1]) || Pick(0, 2999) == 0) {
            ChangeUndo();
            ASSERT_TRUE(SameChr(g_Chara[0].chr, g_Picked[0]) && SameChr(g_Chara[1].chr, g_Picked[1]));
            StartRound();
            g_nRounds++;
        }
    }
    // The run must have reached every skill, collisions and many rounds.
    EXPECT_EQ(g_dwSkillsSeen, (1u << SKILL_COUNT) - 1);
    EXPECT_GT(g_nCollisions, 100);
    EXPECT_GT(g_nRounds, 20);
    std::printf("%ld frames, %d rounds, %d collisions\n", nFrames, g_nRounds, g_nCollisions);
}
