#include "battle/collision.h"

#include <cstdio>
#include <cstdlib>

#include "app/crt_rand.h"
#include "app/debug_trace.h"
#include "app/option.h"
#include "battle/fixed.h"
#include "battle/skill.h"
#include "sound/sound.h"

namespace {
int32_t Sgn(int32_t v) {
    return v < 0 ? -1 : 1;
}

double PushFactor(const CHARA* lpSelf, const CHARA* lpOther) {
    double f = 1 + 0.5 * SkillCount(lpOther, SKILL_ATTACK) - 0.5 * lpOther->bSmall -
               0.5 * SkillCount(lpSelf, SKILL_SHIELD) - 5.0 * SkillCount(lpSelf, SKILL_METAL);
    return f < 0 ? 0 : f;
}

// Speed share of the knock-back on one axis. When nobody moves (nTotal 0) there is no share.
int32_t SpeedShare(int32_t nSum, int32_t k, int32_t nTotal) {
    if (nTotal == 0) return 0;
    return Div32(Mul32(nSum, k), nTotal);
}

// Mostly the other's motion on this axis, scaled by push and defence, plus the jitter
// along one's own direction.
int32_t NewSpeed(int32_t nSelf, int32_t nOther, double f, double d, int32_t j) {
    double dPush = (0.7 * std::abs(double(nOther)) + 0.3 * std::abs(double(nSelf))) * Sgn(nOther);
    return Add32(Trunc32(dPush * f / d), Mul32(Mul32(9, j), Sgn(nSelf)));
}

int32_t Jitter(int32_t nSum, int32_t k, int32_t nTotal) {
    int32_t nRand = CrtRand() % 21 - 10;
    return Add32(nRand, SpeedShare(nSum, k, nTotal));
}
}  // namespace

void FighterCollision(CHARA* lpA, CHARA* lpB) {
    // Back out of each other; the derived box fields stay as they were.
    lpA->box.nX = Sub32(lpA->box.nX, Mul32(2, lpA->nSpeedX));
    lpA->box.nY = Sub32(lpA->box.nY, Mul32(2, lpA->nSpeedY));
    lpB->box.nX = Sub32(lpB->box.nX, Mul32(2, lpB->nSpeedX));
    lpB->box.nY = Sub32(lpB->box.nY, Mul32(2, lpB->nSpeedY));

    for (CHARA* lpC : {lpA, lpB})
        lpC->nMass = Mul32(2 * lpC->bBig + 1, lpC->chr.nWeight) / (lpC->bSmall ? 10 : 1);

    SkillEndFree(lpA);
    SkillEndFree(lpB);

    const double fA = PushFactor(lpA, lpB);
    const double fB = PushFactor(lpB, lpA);
    double dA = DefenseDivisor(lpA), dB = DefenseDivisor(lpB);
    if (g_nBattleMode == BATTLE_SHOOTING) dA = dB = 10.4;

    const int32_t pA = Trunc32(lpA->nMass / dB);
    const int32_t pB = Trunc32(lpB->nMass / dA);
    const int32_t nGap = Abs32(Sub32(pA, pB));
    const int32_t r = 100 - ((nGap < 0 || nGap > 100) ? 100 : nGap);
    const int32_t nDiff = Add32(CrtRand() % (2 * r + 1) - r, Sub32(pA, pB));

    const int32_t kA = ImpactScale(Mul32(CrtRand() % 401, nDiff) / 100);
    const int32_t kB = ImpactScale(Neg32(Mul32(CrtRand() % 401, nDiff) / 100));

    const int32_t nAX = lpA->nSpeedX, nAY = lpA->nSpeedY, nBX = lpB->nSpeedX, nBY = lpB->nSpeedY;
    const int32_t nSumX = Add32(Abs32(nAX), Abs32(nBX));
    const int32_t nSumY = Add32(Abs32(nAY), Abs32(nBY));
    const int32_t nTotal = Add32(nSumX, nSumY);
    const int32_t jAX = Jitter(nSumX, kA, nTotal);
    const int32_t jAY = Jitter(nSumY, kA, nTotal);
    const int32_t jBX = Jitter(nSumX, kB, nTotal);
    const int32_t jBY = Jitter(nSumY, kB, nTotal);

    lpA->nSpeedX = NewSpeed(nAX, nBX, fA, dA, jAX);
    lpA->nSpeedY = NewSpeed(nAY, nBY, fA, dA, jAY);
    lpB->nSpeedX = NewSpeed(nBX, nAX, fB, dB, jBX);
    lpB->nSpeedY = NewSpeed(nBY, nAY, fB, dB, jBY);

    const int32_t nA = Add32(Abs32(lpA->nSpeedX), Abs32(lpA->nSpeedY));
    const int32_t nB = Add32(Abs32(lpB->nSpeedX), Abs32(lpB->nSpeedY));
    const int32_t nBigger = nA > nB ? nA : nB;
    int32_t nType;
    if (nBigger >= Add32(SpeedUp(200), 3500)) {
        DSPlay(&g_Sound[SND_HIT_L], 0);
        nType = 2;
    } else if (nBigger >= Add32(SpeedUp(100), 2000)) {
        DSPlay(&g_Sound[SND_HIT_M], 0);
        nType = 1;
    } else {
        DSPlay(&g_Sound[(CrtRand() & 1) ? SND_HIT_S : SND_HIT_S2], 0);
        nType = 0;
    }
    EffectAdd(nType, (Add32(lpA->box.nCenterX, lpB->box.nCenterX) >> 11) - 16,
              (Add32(lpA->box.nCenterY, lpB->box.nCenterY) >> 11) - 16);

    char szText[32];
    std::snprintf(szText, sizeof szText, "nBigger = %d", nBigger);
    DebugTrace(szText);
}
