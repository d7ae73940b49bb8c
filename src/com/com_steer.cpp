// COM steering: pressing directions, the 16-step plan, and braking before the arena edge.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "battle/chara.h"
#include "battle/fixed.h"
#include "battle/move.h"
#include "com/com.h"
#include "input/input.h"

namespace {

// Acceleration along one axis toward the pressed direction, taken from the record's own
// Accelerate: nOpp while the speed runs against the press (doubled), nSame otherwise.
struct PUSH {
    int64_t nOpp;
    int64_t nSame;
};

// Asks Accelerate for both cases on the record itself and puts the record back as it was.
// Accelerate writes only nAccelX/Y, and of the speed it reads only the sign, so these two
// cases give every step of the counting and braking loops.
PUSH PushOf(CHARA* lpChara, int32_t nDir, bool bAxisX) {
    const int32_t nSign = (nDir == 4 || nDir == 2) ? -1 : 1;
    const int32_t nSpeedX = lpChara->nSpeedX, nSpeedY = lpChara->nSpeedY;
    const int32_t nAccelX = lpChara->nAccelX, nAccelY = lpChara->nAccelY;
    int32_t& nSpeed = bAxisX ? lpChara->nSpeedX : lpChara->nSpeedY;
    const int32_t& nAccel = bAxisX ? lpChara->nAccelX : lpChara->nAccelY;

    PUSH push;
    nSpeed = -nSign;
    Accelerate(lpChara, nDir);
    push.nOpp = int64_t(nSign) * nAccel;
    nSpeed = 0;
    Accelerate(lpChara, nDir);
    push.nSame = int64_t(nSign) * nAccel;

    lpChara->nSpeedX = nSpeedX;
    lpChara->nSpeedY = nSpeedY;
    lpChara->nAccelX = nAccelX;
    lpChara->nAccelY = nAccelY;
    // A press never pushes away from its own direction.
    push.nOpp = std::max<int64_t>(push.nOpp, 0);
    push.nSame = std::max<int64_t>(push.nSame, 0);
    return push;
}

constexpr int64_t COUNT_LIMIT = INT32_MAX;

int32_t CapCount(int64_t n) {
    return static_cast<int32_t>(std::min(n, COUNT_LIMIT));
}

// The counting loop of the plan, in the frame where the press points to +: each step the
// speed u gains nOpp (u < 0) or nSame (u >= 0) and the distance q gains u; the loop stops at
// the first step where q reaches nGoal (> 0). Returns the steps before the stopping one.
// Solved in closed form, so a fast fighter moving away costs no more than a slow one.
int32_t PushCount(int64_t u, PUSH push, int64_t nGoal, bool bStrict) {
    const auto reached = [&](__int128 q) { return bStrict ? q > nGoal : q >= nGoal; };
    int64_t q = 0, n = 0;
    if (u < 0) {
        if (push.nOpp == 0) return CapCount(COUNT_LIMIT);
        // While the speed stays negative q only falls, so none of these steps can stop.
        const int64_t k = (-u - 1) / push.nOpp;
        q = k * u + push.nOpp * k * (k + 1) / 2;
        u += (k + 1) * push.nOpp;
        q += u;
        n = k + 1;
        if (reached(q)) return CapCount(n - 1);
    }
    if (u == 0 && push.nSame == 0) return CapCount(COUNT_LIMIT);
    // From here every step adds nSame: q after m more steps is q + m*u + nSame*m*(m+1)/2.
    const auto after = [&](int64_t m) {
        return __int128(q) + __int128(m) * u + __int128(push.nSame) * m * (m + 1) / 2;
    };
    const double dNeed = double(nGoal) - double(q);
    const double dA = double(push.nSame) / 2, dB = double(u) + dA;
    double dGuess = dA > 0 ? (-dB + std::sqrt(dB * dB + 4 * dA * dNeed)) / (2 * dA) : dNeed / dB;
    dGuess = std::clamp(dGuess, 1.0, double(COUNT_LIMIT) + 2);
    int64_t m = static_cast<int64_t>(dGuess);
    while (m > 1 && reached(after(m - 1))) --m;
    while (!reached(after(m))) {
        if (++m > COUNT_LIMIT + 1) return CapCount(COUNT_LIMIT);
    }
    return CapCount(n + m - 1);
}

// Braking simulation in the frame where braking points to +: starting at u < 0, does the
// position q fall below nLimit before the speed turns positive? Closed form like PushCount.
bool BrakeTooLate(int64_t u, int64_t q, PUSH push, int64_t nLimit) {
    if (push.nOpp == 0) return true;         // cannot brake at all
    const int64_t k = (-u - 1) / push.nOpp;  // steps on which the speed is still negative
    const int64_t qLow = q + k * u + push.nOpp * k * (k + 1) / 2;
    if (k > 0 && qLow < nLimit) return true;
    u += k * push.nOpp;
    q = qLow;
    for (int i = 0; i < 3; ++i) {
        u += u < 0 ? push.nOpp : push.nSame;
        q += u;
        if (q < nLimit) return true;
        if (u > 0) return false;
    }
    return false;  // stopped dead without reaching the edge
}

}  // namespace

int32_t ComPlanCount(CHARA* lpChara, int32_t nDist, bool bAxisX) {
    if (nDist == 0) return 0;
    const int32_t nSign = nDist < 0 ? -1 : 1;
    const int32_t nDir = bAxisX ? (nSign < 0 ? 4 : 6) : (nSign < 0 ? 2 : 8);
    const int64_t nSpeed = bAxisX ? lpChara->nSpeedX : lpChara->nSpeedY;
    // Across the x axis the loop stops on reaching the distance, down the y axis on passing it.
    return PushCount(nSign * nSpeed, PushOf(lpChara, nDir, bAxisX), int64_t(nSign) * nDist, !bAxisX);
}

void ComClearInput(INPUTSTATE* lpInput) {
    lpInput->nDir = 5;
    lpInput->wDir = 0;
    lpInput->wButton = 0;
}

void ComPressDir(INPUTSTATE* lpInput, int32_t nBits) {
    struct KEY {
        uint16_t wBit, wOpposite;
        int32_t nStep;
    };
    static constexpr KEY c_Key[4] = {
        {COM_LEFT, COM_RIGHT, -1}, {COM_RIGHT, COM_LEFT, 1}, {COM_UP, COM_DOWN, -3}, {COM_DOWN, COM_UP, 3}};
    for (const KEY& key : c_Key) {
        if (!(nBits & key.wBit) || (lpInput->wDir & key.wBit)) continue;
        lpInput->wDir |= key.wBit;
        lpInput->nDir += key.nStep;
        if (lpInput->wDir & key.wOpposite) {
            lpInput->wDir &= ~key.wOpposite;
            lpInput->nDir += key.nStep;
        }
    }
}

void ComAdvance(CHARA* lpCopy, int32_t nDir) {
    Accelerate(lpCopy, nDir);
    lpCopy->nSpeedX = Add32(lpCopy->nSpeedX, lpCopy->nAccelX);
    lpCopy->nSpeedY = Add32(lpCopy->nSpeedY, lpCopy->nAccelY);
    lpCopy->box.nX = Add32(lpCopy->box.nX, lpCopy->nSpeedX);
    lpCopy->box.nY = Add32(lpCopy->box.nY, lpCopy->nSpeedY);
    BoxUpdate(&lpCopy->box);
}

void ComMakePlan(CHARA* lpChara, int32_t nDx, int32_t nDy) {
    const int64_t nx = ComPlanCount(lpChara, nDx, true);
    const int64_t ny = ComPlanCount(lpChara, nDy, false);

    // Share the 16 steps between the axes in proportion to the frames each needs.
    const int64_t s = (nx + ny) >> 4;
    int32_t a = 8, b = 8;
    if (s != 0) {
        a = static_cast<int32_t>(nx / s);
        b = static_cast<int32_t>(ny / s);
        while (a + b > 16) {
            if (b > 0) --b;
            if (a + b > 16 && a > 0) --a;
        }
        while (a + b < 16) {
            if (a < 16) ++a;
            if (a + b < 16 && b < 16) ++b;
        }
    }

    int32_t* lpPlan = lpChara->nComPlan;
    if (nDx != 0) std::fill(lpPlan, lpPlan + a, nDx < 0 ? COM_LEFT : COM_RIGHT);
    if (nDy != 0) std::fill(lpPlan + a, lpPlan + a + b, nDy < 0 ? COM_UP : COM_DOWN);
    for (int32_t i = 1; i < a && i + a < COM_PLAN_LEN; i += 2) std::swap(lpPlan[i], lpPlan[i + a]);
}

void ComStepPlan(CHARA* lpChara, INPUTSTATE* lpInput) {
    int32_t p = lpChara->nComPlanPos & (COM_PLAN_LEN - 1);
    int32_t nCur = lpChara->nComPlan[p];
    const int32_t nNext = lpChara->nComPlan[(p + 1) & (COM_PLAN_LEN - 1)];
    // A change of direction presses both entries at once: a diagonal.
    if (nCur != nNext) {
        nCur |= nNext;
        ++p;
    }
    ComPressDir(lpInput, nCur);
    ++p;
    if (p >= COM_PLAN_LEN) p -= COM_PLAN_LEN;
    lpChara->nComPlanPos = p;
}

void ComAvoidWall(CHARA* lpChara, INPUTSTATE* lpInput) {
    const int64_t nMargin = int64_t(lpChara->nComWallMargin) * 1024;
    const int64_t nRight = (640 - int64_t(lpChara->nComWallMargin)) * 1024;
    const int64_t nBottom = (480 - int64_t(lpChara->nComWallMargin)) * 1024;
    const int64_t nSpeedX = lpChara->nSpeedX, nSpeedY = lpChara->nSpeedY;
    const int64_t nCenterX = lpChara->box.nCenterX, nCenterY = lpChara->box.nCenterY;

    // Toward the right or lower edge the braking runs mirrored: "centre >= edge" becomes
    // "-centre < -edge + 1".
    if (nSpeedX < 0 && BrakeTooLate(nSpeedX, nCenterX, PushOf(lpChara, 6, true), nMargin))
        ComPressDir(lpInput, COM_RIGHT);
    if (nSpeedX > 0 && BrakeTooLate(-nSpeedX, -nCenterX, PushOf(lpChara, 4, true), -nRight + 1))
        ComPressDir(lpInput, COM_LEFT);
    if (nSpeedY < 0 && BrakeTooLate(nSpeedY, nCenterY, PushOf(lpChara, 8, false), nMargin))
        ComPressDir(lpInput, COM_DOWN);
    if (nSpeedY > 0 && BrakeTooLate(-nSpeedY, -nCenterY, PushOf(lpChara, 2, false), -nBottom + 1))
        ComPressDir(lpInput, COM_UP);
}
