// The COM opponent's per-frame decisions: ready-phase shuffle, chase and dodge, skill buttons.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/crt_rand.h"
#include "app/option.h"
#include "battle/chara.h"
#include "battle/fixed.h"
#include "battle/skill.h"
#include "com/com.h"
#include "input/input.h"

const COMSTRENGTH g_ComStrength[COM_STRENGTHS] = {
    // interval, move frames, wall margin, ahead 1/2, rate 1/2, ahead 3, rate 3, rate 4
    {40, 5, 2, 50, 50, 100, 10, 10},     // 弱すぎ
    {20, 7, 4, 30, 200, 100, 50, 50},    // 弱い
    {3, 9, 10, 20, 400, 100, 200, 200},  // 普通
    {2, 10, 32, 10, 100, 50, 200, 700},  // 強い
    {1, 10, 32, 5, 50, 50, 300, 1000},   // 強すぎ
};

namespace {

enum { COM_CHASE = 0, COM_DODGE = 1 };
constexpr int32_t COM_PREDICT = 85;
constexpr int32_t COM_CHASE_LIMIT = 850;
constexpr int32_t FAST_RATE12 = 800;  // strong COMs use buttons 1/2 more in fast exchanges
constexpr int64_t FAST_SPEED = 5120;

int64_t Speed1(const CHARA* lpChara) {
    return std::llabs(int64_t(lpChara->nSpeedX)) + std::llabs(int64_t(lpChara->nSpeedY));
}

bool AlmostStill(const CHARA* lpChara, int64_t nLimit) {
    return std::llabs(int64_t(lpChara->nSpeedX)) < nLimit && std::llabs(int64_t(lpChara->nSpeedY)) < nLimit;
}

// An opponent rolling at a still COM: judged once per approach whether to dodge.
void ThreatTest(CHARA* lpCom, const CHARA* lpEnemy) {
    CHARA c = *lpCom, e = *lpEnemy;
    bool bHit = false;
    for (int32_t i = 0; i < lpCom->nComPredict && !bHit; ++i) {
        ComAdvance(&e, g_Input[0].nDir);
        bHit = BoxOverlap(&c.box, &e.box);
    }
    if (!bHit || lpCom->bComIncoming) return;
    lpCom->bComIncoming = 1;
    // A lighter COM, or one nearer the edge than its opponent, dodges more readily.
    int32_t t = 50 - (lpCom->chr.nWeight - lpEnemy->chr.nWeight) / 2;
    const int64_t nComX = std::llabs(int64_t(lpCom->box.nCenterX) - 320 * 1024);
    const int64_t nEnemyX = std::llabs(int64_t(lpEnemy->box.nCenterX) - 320 * 1024);
    t += nComX > nEnemyX ? 40 : -40;
    const int64_t nComY = std::llabs(int64_t(lpCom->box.nCenterY) - 240 * 1024);
    const int64_t nEnemyY = std::llabs(int64_t(lpEnemy->box.nCenterY) - 240 * 1024);
    t += nComY > nEnemyY ? 40 : -40;
    if (RandPercent(t)) lpCom->nComMode = COM_DODGE;
}

// Button 4 (反射) when the present speed carries the COM out within 2 to 5 frames.
void FallCheck(CHARA* lpCom) {
    CHARA c = *lpCom;
    const int32_t n = CrtRand() % 4 + 2;
    for (int32_t i = 0; i < n; ++i) {
        c.box.nX = Add32(c.box.nX, c.nSpeedX);
        c.box.nY = Add32(c.box.nY, c.nSpeedY);
        BoxUpdate(&c.box);
        if (IsOutOfArena(&c)) {
            if (!lpCom->bComDone4) {
                lpCom->bComDone4 = 1;
                if (RandPerMille(lpCom->nComRate4)) g_Input[1].wButton |= BUTTON_4;
            }
            return;
        }
    }
    lpCom->bComDone4 = 0;
}

// Buttons 1 (アタック) and 2 (シールド) when the present plan runs into the opponent.
void HitCheck(CHARA* lpCom, const CHARA* lpEnemy) {
    CHARA c = *lpCom, e = *lpEnemy;
    INPUTSTATE l{};
    ComClearInput(&l);
    bool bHit = false;
    for (int32_t i = 0; i < lpCom->nComAhead12 && !bHit; ++i) {
        ComStepPlan(&c, &l);
        ComAdvance(&c, l.nDir);
        ComAdvance(&e, g_Input[0].nDir);
        bHit = BoxOverlap(&c.box, &e.box);
    }
    if (!bHit) {
        lpCom->bComDone12 = 0;
        return;
    }
    if (lpCom->bComDone12) return;
    lpCom->bComDone12 = 1;
    const int64_t a = Speed1(&c), b = Speed1(&e);
    const int32_t w = (c.nMass - e.nMass) / 200;
    const bool bHarder = double(b) * (double(w) + 1) <= double(a);
    // The harder hitter attacks, the other shields; fast exchanges make a strong COM eager.
    const CHARA* lpFast = bHarder ? lpCom : lpEnemy;
    int32_t nRate = lpCom->nComRate12;
    if (lpCom->nComStrength >= 3 && Speed1(lpFast) > FAST_SPEED) nRate = FAST_RATE12;
    if (RandPerMille(nRate)) g_Input[1].wButton |= bHarder ? BUTTON_1 : BUTTON_2;
}

// Button 3 (ブースト) when a boosted chase would catch the opponent.
void BoostCheck(CHARA* lpCom, const CHARA* lpEnemy) {
    CHARA c = *lpCom, e = *lpEnemy;
    INPUTSTATE l{};
    ComClearInput(&l);
    l.wButton = BUTTON_3;
    // Only ブースト is started on the copy: other skills reach past it (チェンジ swaps the real
    // fighters' character data, フリー may sound its refusal). The COM's button 3 holds ブースト.
    if (c.nSkill[2] == SKILL_BOOST) SkillTrigger(&c, &l, &e);
    bool bHit = false;
    for (int32_t i = 0; i < lpCom->nComAhead3 && !bHit; ++i) {
        c.nComTargetX = Sub32(e.box.nCenterX, c.box.nCenterX);
        c.nComTargetY = Sub32(e.box.nCenterY, c.box.nCenterY);
        ComMakePlan(&c, c.nComTargetX, c.nComTargetY);
        ComStepPlan(&c, &l);
        ComAvoidWall(&c, &l);
        ComAdvance(&c, l.nDir);
        ComAdvance(&e, g_Input[0].nDir);
        bHit = BoxOverlap(&c.box, &e.box);
    }
    if (!bHit) {
        lpCom->bComDone3 = 0;
        return;
    }
    if (lpCom->bComDone3) return;
    lpCom->bComDone3 = 1;
    if (RandPerMille(lpCom->nComRate3)) g_Input[1].wButton |= BUTTON_3;
}

}  // namespace

bool RandPercent(int32_t n) {
    return CrtRand() % 100 + 1 <= n;
}

bool RandPerMille(int32_t nRate) {
    return CrtRand() % 1000 + 1 <= nRate;
}

void ComSetup(CHARA* lpCom) {
    // The COM block is the tail of the record, from nComReadyCount to the end.
    constexpr size_t nOffset = offsetof(CHARA, nComReadyCount);
    std::memset(reinterpret_cast<unsigned char*>(lpCom) + nOffset, 0, sizeof(CHARA) - nOffset);

    // A damaged settings file must not index past the table.
    int32_t nLevel = g_Option.nComLevel;
    if (nLevel < 0) nLevel = 0;
    if (nLevel >= COM_STRENGTHS) nLevel = COM_STRENGTHS - 1;
    const COMSTRENGTH& row = g_ComStrength[nLevel];
    lpCom->nComThinkInterval = row.nThinkInterval;
    lpCom->nComMoveFrames = row.nMoveFrames;
    lpCom->nComWallMargin = row.nWallMargin;
    lpCom->nComAhead12 = row.nAhead12;
    lpCom->nComRate12 = row.nRate12;
    lpCom->nComAhead3 = row.nAhead3;
    lpCom->nComRate3 = row.nRate3;
    lpCom->nComRate4 = row.nRate4;
    lpCom->nComPredict = COM_PREDICT;
    lpCom->nComMode = COM_DODGE;
    lpCom->nComStrength = nLevel;
}

void ComReady(CHARA* lpCom, CHARA* lpEnemy) {
    ComClearInput(&g_Input[1]);
    if (++lpCom->nComReadyCount >= 10) {
        lpCom->nComReadyCount = 0;
        // A heavier COM edges toward its opponent (up and left of it) more often.
        const int32_t t = CrtRand() % 201 + (lpCom->chr.nWeight - lpEnemy->chr.nWeight) / 2 - 30;
        int32_t nBits = RandPercent(t) ? COM_LEFT : COM_RIGHT;
        nBits |= RandPercent(t) ? COM_UP : COM_DOWN;
        lpCom->nComReadyBits = nBits;
    }
    ComPressDir(&g_Input[1], lpCom->nComReadyBits);
}

void ComThink(CHARA* lpCom, CHARA* lpEnemy) {
    INPUTSTATE* lpInput = &g_Input[1];
    ComClearInput(lpInput);

    // Mode housekeeping.
    if (lpCom->bComReset) {
        lpCom->nComMode = COM_CHASE;
        lpCom->bComReset = 0;
        lpCom->nComChaseCount = 0;
        lpCom->bComIncoming = 0;
    } else if (lpCom->nComMode == COM_CHASE) {
        // Not cleared here: until the next collision every return to chase ends a frame later.
        if (++lpCom->nComChaseCount > COM_CHASE_LIMIT) lpCom->nComMode = COM_DODGE;
    } else if (SkillActive(lpCom, SKILL_ATTACK) || SkillActive(lpCom, SKILL_BOOST)) {
        lpCom->nComMode = COM_CHASE;
    }

    if (AlmostStill(lpCom, 512) && lpCom->nComMode != COM_DODGE) {
        ThreatTest(lpCom, lpEnemy);
    } else {
        if (AlmostStill(lpEnemy, 1024)) lpCom->nComMode = COM_CHASE;
        lpCom->bComIncoming = 0;
    }

    // Decision.
    if (++lpCom->nComThinkCount >= lpCom->nComThinkInterval) {
        lpCom->nComThinkCount = 0;
        lpCom->nComTargetX = Sub32(lpEnemy->box.nCenterX, lpCom->box.nCenterX);
        lpCom->nComTargetY = Sub32(lpEnemy->box.nCenterY, lpCom->box.nCenterY);
        if (lpCom->nComMode == COM_CHASE) {
            ComMakePlan(lpCom, lpCom->nComTargetX, lpCom->nComTargetY);
        } else if (!ComFindEscape(lpCom, lpEnemy)) {
            lpCom->nComMode = COM_CHASE;
        }
    }

    // The plan is pressed in nComMoveFrames of every 10 frames.
    if (++lpCom->nComMoveCount >= 10) lpCom->nComMoveCount = 0;
    if (lpCom->nComMoveCount < lpCom->nComMoveFrames) ComStepPlan(lpCom, lpInput);
    ComAvoidWall(lpCom, lpInput);

    // Trick, shooting and simple battles: no skill buttons. A damaged mode number plays as the
    // normal battle everywhere else (skill list, battle rules), so the COM uses its buttons there.
    if (g_nBattleMode >= BATTLE_TRICK && g_nBattleMode <= BATTLE_SIMPLE) return;
    FallCheck(lpCom);
    if (lpCom->nComMode != COM_CHASE) return;
    HitCheck(lpCom, lpEnemy);
    BoostCheck(lpCom, lpEnemy);
}
