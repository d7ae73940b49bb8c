#include "battle/move.h"

#include "battle/fixed.h"
#include "battle/skill.h"

namespace {
// Keypad directions 1..9 as (dx, dy); screen y grows downward.
constexpr int32_t kDirX[10] = {0, -1, 0, 1, -1, 0, 1, -1, 0, 1};
constexpr int32_t kDirY[10] = {0, -1, -1, -1, 0, 0, 0, 1, 1, 1};

int32_t DirIndex(int32_t nDir) {
    return (nDir >= 1 && nDir <= 9) ? nDir : 5;
}

// Accelerating against the present motion counts double; a zero velocity never doubles.
int32_t CounterSteer(int32_t nSpeed, int32_t nAccel) {
    if ((nSpeed > 0 && nAccel < 0) || (nSpeed < 0 && nAccel > 0)) return Mul32(nAccel, 2);
    return nAccel;
}

void StepPosition(CHARA* lpChara) {
    lpChara->box.nX = Add32(lpChara->box.nX, lpChara->nSpeedX);
    lpChara->box.nY = Add32(lpChara->box.nY, lpChara->nSpeedY);
}
}  // namespace

void Accelerate(CHARA* lpChara, int32_t nDir) {
    int32_t a = Mul32(1 + SkillCount(lpChara, SKILL_BOOST), lpChara->chr.nSpeed);
    if (lpChara->bBig)
        a >>= 1;
    else if (lpChara->bSmall)
        a = Mul32(a, 4);
    int32_t i = DirIndex(nDir);
    lpChara->nAccelX = CounterSteer(lpChara->nSpeedX, kDirX[i] * a);
    lpChara->nAccelY = CounterSteer(lpChara->nSpeedY, kDirY[i] * a);
}

void SteerDirect(CHARA* lpChara, const INPUTSTATE* lpInput) {
    int32_t v = Mul32(Mul32(1 + SkillCount(lpChara, SKILL_BOOST), lpChara->chr.nSpeed), 200);
    if (lpChara->bBig) v /= 2;
    if (lpChara->bSmall) v = Mul32(v, 4);
    int32_t i = DirIndex(lpInput->nDir);
    lpChara->nSpeedX = Mul32(kDirX[i], v);
    lpChara->nSpeedY = Mul32(kDirY[i], v);
}

void MoveFighter(const INPUTSTATE* lpInput, CHARA* lpChara) {
    if (SkillActive(lpChara, SKILL_FREE)) {
        SteerDirect(lpChara, lpInput);
        StepPosition(lpChara);
    } else if (!SkillActive(lpChara, SKILL_METAL)) {
        Accelerate(lpChara, lpInput->nDir);
        lpChara->nSpeedX = Add32(lpChara->nSpeedX, lpChara->nAccelX);
        lpChara->nSpeedY = Add32(lpChara->nSpeedY, lpChara->nAccelY);
        StepPosition(lpChara);
    }
    BoxUpdate(&lpChara->box);
    lpChara->nAngle += 24 + 48 * SkillCount(lpChara, SKILL_BOOST);
    if (lpChara->nAngle >= 360) lpChara->nAngle -= 360;
}

void MoveReady(const INPUTSTATE* lpInput, CHARA* lpChara, int32_t nNum) {
    if (nNum < 0 || nNum > 1) nNum = 0;
    SteerDirect(lpChara, lpInput);
    StepPosition(lpChara);
    BoxUpdate(&lpChara->box);
    // The start corner plus or minus 128 x 96 pixels, compared with the centre, bounds included.
    const int32_t nCX = lpChara->box.nCenterX, nCY = lpChara->box.nCenterY;
    if (nCX < g_nStartPos[nNum][0] - 131072 || nCX > g_nStartPos[nNum][0] + 131072) {
        lpChara->box.nX = Sub32(lpChara->box.nX, lpChara->nSpeedX);
        BoxUpdate(&lpChara->box);
    }
    if (nCY < g_nStartPos[nNum][1] - 98304 || nCY > g_nStartPos[nNum][1] + 98304) {
        lpChara->box.nY = Sub32(lpChara->box.nY, lpChara->nSpeedY);
        BoxUpdate(&lpChara->box);
    }
}
