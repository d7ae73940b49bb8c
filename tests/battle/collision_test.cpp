#include <tuple>

#include "app/option.h"
#include "battle/collision.h"
#include "battle_fixture.h"
#include "support/lcg.h"

// From rand() state 1 the draws are 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358.
// With equal masses (r = 100): nDiff = 41 % 201 - 100 = -59; kA = 21 x -59 / 100 = -12;
// kB = -(319 x -59 / 100) = 188; jitter draws give 9, 7, 6, 2 before the speed shares.
class CollisionTest : public BattleTest {
  protected:
    // A (corner (100, 100), moving (vx, 0)) runs into B at rest ten pixels to its right, from
    // rand() state dwState.
    void Ram(int32_t vx, uint32_t dwState = 1, int32_t nWeightA = 60, int32_t nWeightB = 60) {
        PlaceFighter(&A, 100, 100, nWeightA);
        PlaceFighter(&B, 110, 100, nWeightB);
        A.nSpeedX = vx;
        std::memset(g_Effect, 0, sizeof g_Effect);
        Headless_Plays().clear();
        CrtRandSetState(dwState);
        FighterCollision(&A, &B);
    }
};

TEST_F(CollisionTest, ExactVelocitiesInNormalAndShootingMode) {
    // Sums 4096, 512, total 4608. Normal: pA 60, pB 100, r 60, nDiff = 41 % 121 - 100 = -59.
    // Shooting (/ 10.4): pA 5, pB 9, r 96, nDiff = 41 % 193 - 100 = -59. So in both:
    // jAX = 9 - 10 = -1, jAY = 7 - 1 = 6, jBX = 6 + 167 = 173, jBY = 2 + 20 = 22.
    struct Case {
        int nMode;
        int32_t nAX, nAY, nBX, nBY;
    };
    for (const Case& c : {Case{0, -1638 - 9, 358 + 54, 2457 - 1557, 153 + 198},
                          Case{2, -157 - 9, 34 + 54, 236 - 1557, 14 + 198}}) {
        g_nBattleMode = c.nMode;
        PlaceFighter(&A, 100, 100, 60);
        PlaceFighter(&B, 120, 110, 100);
        A.nSpeedX = 3072;
        B.nSpeedX = -1024;
        B.nSpeedY = 512;
        std::memset(g_Effect, 0, sizeof g_Effect);
        Headless_Plays().clear();
        CrtRandSetState(1);
        FighterCollision(&A, &B);
        EXPECT_EQ(std::tuple(A.nSpeedX, A.nSpeedY, B.nSpeedX, B.nSpeedY, A.nMass + B.nMass),
                  std::tuple(c.nAX, c.nAY, c.nBX, c.nBY, 160));
        // Backed out by twice the speed; the small sound (below 2100, eighth draw 29358 even)
        // and its spark at (((117760 + 138240) >> 11) - 16, 104).
        EXPECT_EQ(std::tuple(A.box.nX, B.box.nY, Plays(SND_HIT_S2), g_Effect[0].nType, g_Effect[0].nX,
                             g_Effect[0].nY),
                  std::tuple(102400 - 6144, 112640 - 1024, 1, 0, 109, 104));
    }
}

// A moving (vx, 0) into B at rest: A's new x speed = 307 + 9 x jAX (for vx 1024), with
// jAX = draw3 % 21 - 10 + kA and kA = draw2 % 401 x nDiff / 100. Equal strength spans -100..100
// (the states giving the extreme draws); a strength gap of 100 or more leaves no random range
// (draw 1 is spent but ignored; kA = 21 x gap / 100, jAX = 9 + kA). pA 300, pB 100 at 4000000:
// nDiff 200, kB = -638, nSumX x kB = -2552000000 wraps to 1742967296, / 4000000 = 435, so
// jBX = 441. At rest both get only the jitter: 3 strength, 4 jitter, 1 small-sound draws.
TEST_F(CollisionTest, RandomRangeStrengthGapWrappingAndRest) {
    auto Find = [](int n1, int n2, int n3) {
        for (uint32_t s = 1;; s = LcgSkip(s, 1)) {
            uint32_t t = s;
            if (LcgDraw(t) % 201 == n1 && LcgDraw(t) % 401 == n2 && (LcgDraw(t), LcgDraw(t) % 21 == n3))
                return s;
        }
    };
    const struct {
        int32_t vx;
        uint32_t dwState;
        int32_t nWeightA, nWeightB, nAX, nBX;
    } cases[] = {
        {1024, Find(200, 400, 20), 60, 60, 307 + 9 * (10 + 400), 0},
        {1024, Find(0, 400, 0), 60, 60, 307 - 9 * (10 + 400), 0},
        {1024, 1, 250, 50, 307 + 9 * (9 + 42), 0},
        {1024, 1, 350, 150, 307 + 9 * (9 + 42), 0},
        {1024, 1, 150, 50, 307 + 9 * (9 + 21), 0},
        {4000000, 1, 300, 100, 1200000 + 9 * 51, 2800000 + 9 * 441},
        {0, 1, 60, 60, 81, 54},
    };
    for (const auto& c : cases) {
        Ram(c.vx, c.dwState, c.nWeightA, c.nWeightB);
        EXPECT_EQ(A.nSpeedX, c.nAX) << c.vx << " " << c.nWeightA << " " << c.nWeightB;
        if (c.nBX) {
            EXPECT_EQ(B.nSpeedX, c.nBX) << c.vx;
        }
    }
    EXPECT_EQ(A.nSpeedY, 63);
    EXPECT_EQ(B.nSpeedY, 18);
    EXPECT_EQ(CrtRandState(), LcgSkip(1, 8));
}

TEST_F(CollisionTest, MetalPushFactorIsZeroEvenAgainstThreeAttacks) {
    A.nSkillFlag[0] = 1u << SKILL_METAL;
    PlaceFighter(&B, 110, 100);
    for (uint32_t& f : B.nSkillFlag) f = 1u << SKILL_ATTACK;
    B.nSpeedX = 2048;
    FighterCollision(&A, &B);
    EXPECT_EQ(std::tuple(A.nSpeedX, A.nSpeedY), std::tuple(9 * (9 - 12), 9 * 7));  // jitter only
}

TEST_F(CollisionTest, SoundAndSparkThresholds3700And2100) {
    // A moving (vx, 0) into B at rest: B's new speed is (trunc(0.7 vx) + 1746, 18), the larger.
    struct Case {
        int32_t vx;
        int nSound, nType;
    };
    for (const Case& c : {Case{2766, SND_HIT_L, 2}, Case{2764, SND_HIT_M, 1}, Case{481, SND_HIT_M, 1},
                          Case{479, SND_HIT_S2, 0}}) {
        Ram(c.vx);
        EXPECT_EQ(std::tuple(Plays(c.nSound), Headless_Plays().size(), g_Effect[0].nType),
                  std::tuple(1, 1u, c.nType))
            << c.vx;
    }
}

TEST_F(CollisionTest, CollisionEndsFreeMovementOfBoth) {
    PlaceFighter(&B, 110, 100);
    A.nSkillFlag[1] = B.nSkillFlag[2] = 1u << SKILL_FREE;
    A.nSkillTime[1] = B.nSkillTime[2] = 40;
    A.nSkillFlag[0] = 1u << SKILL_SHIELD;
    AnimSet(&A.anmBody, 2);
    A.bBig = 1;  // three times the weight
    FighterCollision(&A, &B);
    EXPECT_EQ(A.nMass, 180);
    EXPECT_EQ(A.nSkillFlag[1] | B.nSkillFlag[2], 0u);
    EXPECT_EQ(A.nSkillTime[1] + B.nSkillTime[2], 0);
    EXPECT_EQ(A.nSkillFlag[0], 1u << SKILL_SHIELD);
    EXPECT_EQ(A.anmBody.nAnim, 2);  // shield keeps its pose
}
