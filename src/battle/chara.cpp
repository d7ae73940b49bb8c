#include "battle/chara.h"

#include <cmath>

#include "app/option.h"
#include "app/state_buf.h"
#include "battle/fixed.h"

const std::array<CHARACTER, CHARA_COUNT> g_CharaTable = {{
    {"ポムリン", 0, 60, 60, 90},
    {"オジー", 1, 100, 50, 50},
    {"クレープ", 2, 40, 80, 80},
    {"まめたくん", 3, 50, 50, 50},
    {"バードマージ", 4, 40, 100, 60},
    {"ぼうれいのきし", 5, 90, 30, 80},
    {"パワフルくじら", 6, 120, 60, 20},
    {"こんぺいとう", 7, 20, 120, 60},
    {"あざわらうつき", 8, 40, 50, 120},
    {"すいりゅう", 9, 100, 40, 70},
    {"ダークポムリン", 10, 80, 70, 60},
    {"サンタ", 11, 100, 100, 100},
}};

CHARA g_Chara[2];
EFFECT g_Effect[EFFECT_COUNT];
int32_t g_nBattlePhase;
int32_t g_nBattleStep;
int32_t g_nFallCount;
int32_t g_nPhaseCount;
int32_t g_nBattleBackground;
const int32_t g_nStartPos[2][2] = {{128 * 1024, 96 * 1024}, {480 * 1024, 352 * 1024}};

namespace {
constexpr ANIMROW kBodyPlain[] = {{1, 1, 0}, {-1, 0, 0}};
constexpr ANIMROW kBodyAttack[] = {{2, 1, 0}, {-1, 0, 0}};
constexpr ANIMROW kBodyGuard[] = {{0, 1, 0}, {1, 1, 0}, {-2, 0, 0}};
constexpr ANIMROW kBodyHidden[] = {{0, 1, 0}, {-1, 0, 0}};
constexpr ANIMROW kBodySuction[] = {{3, 1, 0}, {-1, 0, 0}};
constexpr const ANIMROW* kBodyLists[] = {kBodyPlain, kBodyAttack, kBodyGuard, kBodyHidden, kBodySuction};

constexpr ANIMROW kGaugeHeld[] = {{0, 1, 0}, {-1, 0, 0}};
constexpr ANIMROW kGaugeFlash[] = {{1, 5, 0}, {2, 10, 0}, {3, 20, 0}, {-3, 0, 0}};
constexpr const ANIMROW* kGaugeLists[] = {kGaugeHeld, kGaugeFlash};

// Skills with a body pose: attack, shield, metal, reflect, suction, vanish, afterimage.
constexpr uint32_t kPoseSkills =
    (1u << 0) | (1u << 1) | (1u << 2) | (1u << 4) | (1u << 6) | (1u << 9) | (1u << 10);
}  // namespace

const ANIMSET g_AnimSetBody = {kBodyLists, 5};
const ANIMSET g_AnimSetGauge = {kGaugeLists, 2};

void BoxUpdate(BOX* lpBox) {
    lpBox->nTop = lpBox->nY;
    lpBox->nRight = Add32(lpBox->nX, Mul32(lpBox->nWidth - 1, 1024));
    lpBox->nBottom = Add32(lpBox->nY, Mul32(lpBox->nHeight - 1, 1024));
    lpBox->nCenterX = Add32(lpBox->nX, Mul32((lpBox->nWidth & ~1) / 2 - 1, 1024));
    lpBox->nCenterY = Add32(lpBox->nY, Mul32((lpBox->nHeight & ~1) / 2 - 1, 1024));
}

bool BoxOverlap(const BOX* lpBoxA, const BOX* lpBoxB) {
    return lpBoxA->nX <= lpBoxB->nRight && lpBoxA->nRight >= lpBoxB->nX && lpBoxA->nY <= lpBoxB->nBottom &&
           lpBoxA->nBottom >= lpBoxB->nTop;
}

void AnimSet(ANIM* lpAnim, int32_t nAnim) {
    lpAnim->nAnim = nAnim;
    lpAnim->nFrame = 0;
    lpAnim->nCount = 0;
}

int32_t AnimStep(ANIM* lpAnim) {
    // A cursor without a set or with an unknown animation number shows sprite 0 and stays.
    const ANIMSET* lpSet = lpAnim->lpAnimTable;
    if (!lpSet || lpAnim->nAnim < 0 || lpAnim->nAnim >= lpSet->nCount) return 0;
    const ANIMROW* lpList = lpSet->lpList[lpAnim->nAnim];
    if (lpAnim->nFrame < 0 || lpList[lpAnim->nFrame].nSprite < 0) lpAnim->nFrame = 0;
    lpAnim->nCount++;
    if (lpAnim->nCount >= lpList[lpAnim->nFrame].nTime) {
        lpAnim->nCount = 0;
        lpAnim->nFrame++;
        const ANIMROW& row = lpList[lpAnim->nFrame];
        if (row.nSprite == -3) {
            AnimSet(lpAnim, row.nTime);
            if (row.nTime < 0 || row.nTime >= lpSet->nCount) return 0;
            lpList = lpSet->lpList[lpAnim->nAnim];
        } else if (row.nSprite == -2) {
            lpAnim->nFrame = 0;
        } else if (row.nSprite == -1) {
            lpAnim->nFrame--;
        }
    }
    return lpList[lpAnim->nFrame].nSprite;
}

bool IsOutOfArena(const CHARA* lpChara) {
    return lpChara->box.nCenterX < 0 || lpChara->box.nCenterX >= 655360 || lpChara->box.nCenterY < 0 ||
           lpChara->box.nCenterY >= 491520;
}

int32_t SkillCount(const CHARA* lpChara, int32_t nId) {
    if (nId < 0 || nId >= 32) return 0;
    int32_t n = 0;
    for (uint32_t dwFlag : lpChara->nSkillFlag)
        if (dwFlag == (1u << nId)) n++;
    return n;
}

bool SkillActive(const CHARA* lpChara, int32_t nId) {
    return SkillCount(lpChara, nId) > 0;
}

bool SkillPoseFree(const CHARA* lpChara) {
    for (uint32_t dwFlag : lpChara->nSkillFlag)
        if (dwFlag & kPoseSkills) return false;
    return true;
}

double BattleGameSpeed() {
    double g = g_Option.dGameSpeed;
    if (!(g >= 1.0)) return 1.0;  // also NaN
    if (g > 20.0) return 20.0;
    return g;
}

double DefenseDivisor(const CHARA* lpChara) {
    int32_t nControl = lpChara->nControl;
    if (nControl < CONTROL_P1 || nControl > CONTROL_COM) nControl = CONTROL_COM;
    int32_t nDefense = g_Option.nDefense[nControl];
    if (nDefense < 1) nDefense = 1;
    if (nDefense > 5) nDefense = 5;
    return nDefense * 0.2 + 0.4;
}

int32_t SpeedUp(int32_t v) {
    return Trunc32((BattleGameSpeed() + 1) * 0.5 * v);
}
int32_t SlowDown(int32_t v) {
    return Trunc32(v / ((BattleGameSpeed() + 1) * 0.5));
}
int32_t ImpactScale(int32_t v) {
    return Trunc32((BattleGameSpeed() * 0.2 + 0.8) * v);
}

void EffectAdd(int32_t nType, int32_t nX, int32_t nY) {
    for (EFFECT& e : g_Effect) {
        if (e.nTime == 0) {
            e = EFFECT{nType, nX, nY, 50};
            return;
        }
    }
}

namespace {

// The animation tables are constant; a saved animation names its table by number.
void AnimStateIo(STATEBUF* lpBuf, ANIM* lpAnim) {
    int32_t nTable = lpAnim->lpAnimTable == &g_AnimSetBody    ? 1
                     : lpAnim->lpAnimTable == &g_AnimSetGauge ? 2
                                                              : 0;
    StateField(lpBuf, lpAnim->nFrame);
    StateField(lpBuf, lpAnim->nCount);
    StateField(lpBuf, nTable);
    StateField(lpBuf, lpAnim->nAnim);
    if (lpBuf->bRestore)
        lpAnim->lpAnimTable = nTable == 1 ? &g_AnimSetBody : nTable == 2 ? &g_AnimSetGauge : nullptr;
}

}  // namespace

void CharaStateIo(STATEBUF* lpBuf) {
    // A new field of CHARA must be listed here too. (The size holds for 64-bit pointers; a
    // 32-bit build such as the browser's lays the record out smaller.)
    static_assert(sizeof(void*) != 8 || sizeof(CHARA) == 936);
    for (CHARA& c : g_Chara) {
        StateField(lpBuf, c.nNum);
        StateField(lpBuf, c.nControl);
        StateField(lpBuf, c.bDead);
        StateField(lpBuf, c.nAccelX);
        StateField(lpBuf, c.nAccelY);
        StateField(lpBuf, c.nSpeedX);
        StateField(lpBuf, c.nSpeedY);
        StateField(lpBuf, c.nMass);
        StateField(lpBuf, c.nSlotSpeedX);
        StateField(lpBuf, c.nSlotSpeedY);
        StateField(lpBuf, c.nWin);
        StateField(lpBuf, c.nSkill);
        StateField(lpBuf, c.nSkillFlag);
        StateField(lpBuf, c.nSkillTime);
        StateField(lpBuf, c.nGauge);
        StateField(lpBuf, c.nGaugeCost);
        AnimStateIo(lpBuf, &c.anmBody);
        AnimStateIo(lpBuf, &c.anmGauge);
        StateRecord(lpBuf, c.box);
        StateField(lpBuf, c.nAngle);
        StateField(lpBuf, c.nSizeRow);
        StateField(lpBuf, c.bBig);
        StateField(lpBuf, c.bSmall);
        StateRecord(lpBuf, c.chr);
        StateRecord(lpBuf, c.slot);
        StateField(lpBuf, c.nComReadyCount);
        StateField(lpBuf, c.nComReadyBits);
        StateField(lpBuf, c.nComMode);
        StateField(lpBuf, c.nComPredict);
        StateField(lpBuf, c.bComReset);
        StateField(lpBuf, c.nComChaseCount);
        StateField(lpBuf, c.bComIncoming);
        StateField(lpBuf, c.nComThinkInterval);
        StateField(lpBuf, c.nComThinkCount);
        StateField(lpBuf, c.nComMoveFrames);
        StateField(lpBuf, c.nComMoveCount);
        StateField(lpBuf, c.nComTargetX);
        StateField(lpBuf, c.nComTargetY);
        StateField(lpBuf, c.nComPlan);
        StateField(lpBuf, c.nComPlanPos);
        StateField(lpBuf, c.nComWallMargin);
        StateField(lpBuf, c.nComAhead12);
        StateField(lpBuf, c.nComRate12);
        StateField(lpBuf, c.bComDone12);
        StateField(lpBuf, c.nComAhead3);
        StateField(lpBuf, c.nComRate3);
        StateField(lpBuf, c.bComDone3);
        StateField(lpBuf, c.nComRate4);
        StateField(lpBuf, c.bComDone4);
        StateField(lpBuf, c.nComStrength);
    }
}
