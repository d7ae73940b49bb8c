#include "battle/skill.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "app/option.h"
#include "battle/fixed.h"
#include "battle/image.h"
#include "sound/sound.h"

const std::array<const char*, SKILL_COUNT> g_szSkillName = {
    "アタック", "シールド", "メタル",   "ブースト",   "反射",     "フリー",
    "吸い込み", "分身",     "四方分身", "バニッシュ", "残像",     "ショット",
    "トラップ", "ビッグ",   "スモール", "チェンジ",   "シェイド",
};

namespace {
constexpr SKILLLIST MakeList(std::initializer_list<int32_t> ids) {
    SKILLLIST list{};
    for (int32_t nId : ids) {
        const char* sz = g_szSkillName[nId];
        for (int i = 0; sz[i] && i < 31; i++) list.szName[list.nCount][i] = sz[i];
        list.nId[list.nCount++] = nId;
    }
    return list;
}
}  // namespace

const std::array<SKILLLIST, BATTLE_MODES> g_SkillList = {
    MakeList({0, 1, 3, 4}),
    MakeList({0, 1, 3, 4, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
    MakeList({3, 6, 7, 8, 9, 10, 11, 12, 15, 16}),
    MakeList({0, 1, 3, 4}),
};

const SKILLLIST* SkillListOf(int32_t nMode) {
    if (nMode < 0 || nMode >= BATTLE_MODES) nMode = BATTLE_NORMAL;
    return &g_SkillList[nMode];
}

namespace {
// The pose argument of a skill that leaves the body as it is.
constexpr int32_t KEEP_POSE = POSE_PLAIN;

// Marks the slot as running skill nId for dFactor x P frames, with its body pose if any.
void SkillStart(CHARA* lpChara, int32_t nSlot, int32_t nId, double dFactor, int32_t nPose) {
    lpChara->nSkillFlag[nSlot] = 1u << nId;
    lpChara->nSkillTime[nSlot] = Trunc32(dFactor * lpChara->chr.nSkillPower);
    if (nPose) AnimSet(&lpChara->anmBody, nPose);
}

void SkillAttack(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_ATTACK, 1.0, POSE_ATTACK);
}
void SkillShield(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_SHIELD, 1.0, POSE_GUARD);
}
void SkillMetal(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_METAL, 0.4, POSE_GUARD);
    lpChara->nSpeedX = lpChara->nSpeedY = 0;
}
void SkillBoost(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_BOOST, 0.7, KEEP_POSE);
}
void SkillReflectStart(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_REFLECT, 0.3, POSE_GUARD);
}
void SkillFree(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_FREE, 2.0, KEEP_POSE);
}
void SkillSuctionStart(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_SUCTION, 2.0, POSE_SUCTION);
}
void SkillClone(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_CLONE, 3.0, KEEP_POSE);
    ImageStartClone(lpChara, nSlot, 1);
}
void SkillClone4(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_CLONE4, 2.0, KEEP_POSE);
    ImageStartClone(lpChara, nSlot, 3);
}
void SkillVanish(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_VANISH, 2.0, POSE_HIDDEN);
}
void SkillAfterimage(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_AFTERIMAGE, 1.2, POSE_HIDDEN);
    ImageStartAfterimage(lpChara, nSlot);
}
void SkillShot(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_SHOT, 0.7, KEEP_POSE);
    ImageStartShot(lpChara, nSlot);
}
void SkillTrap(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_TRAP, 3.0, KEEP_POSE);
    ImageStartTrap(lpChara, nSlot);
}
// The size change comes first: SizeNormal frees every size slot, which must not include
// the slot this skill is about to take.
void SkillBig(CHARA* lpChara, int32_t nSlot) {
    SizeNormal(lpChara);
    SizeBig(lpChara);
    SkillStart(lpChara, nSlot, SKILL_BIG, 2.0, KEEP_POSE);
}
void SkillSmall(CHARA* lpChara, int32_t nSlot) {
    SizeNormal(lpChara);
    SizeSmall(lpChara);
    SkillStart(lpChara, nSlot, SKILL_SMALL, 2.0, KEEP_POSE);
}
void SkillChange(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_CHANGE, 2.5, KEEP_POSE);
    ChangeSwap();
}
void SkillShade(CHARA* lpChara, int32_t nSlot) {
    SkillStart(lpChara, nSlot, SKILL_SHADE, 1.0, KEEP_POSE);
}

void SetBox(CHARA* lpChara, int32_t nSize, int32_t nShift, int32_t nSizeRow) {
    BOX& box = lpChara->box;
    const int32_t nCX = box.nCenterX, nCY = box.nCenterY;
    box.nWidth = box.nHeight = nSize;
    box.nWidthShift = box.nHeightShift = nShift;
    box.nX = Sub32(nCX, (nSize / 2) * 1024);
    box.nY = Sub32(nCY, (nSize / 2) * 1024);
    lpChara->nSizeRow = nSizeRow;
}

void SlotEnd(CHARA* lpChara, int32_t nSlot) {
    lpChara->nSkillFlag[nSlot] = 0;
    if (SkillPoseFree(lpChara)) AnimSet(&lpChara->anmBody, POSE_PLAIN);
}
}  // namespace

const std::array<SKILLHANDLER, SKILL_COUNT> g_SkillHandler = {
    SkillAttack,       SkillShield, SkillMetal,  SkillBoost,  SkillReflectStart, SkillFree,
    SkillSuctionStart, SkillClone,  SkillClone4, SkillVanish, SkillAfterimage,   SkillShot,
    SkillTrap,         SkillBig,    SkillSmall,  SkillChange, SkillShade,
};

void SizeNormal(CHARA* lpChara) {
    SetBox(lpChara, 32, 5, 0);
    BoxUpdate(&lpChara->box);
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (lpChara->nSkillFlag[s] == (1u << SKILL_BIG) || lpChara->nSkillFlag[s] == (1u << SKILL_SMALL)) {
            lpChara->nSkillFlag[s] = 0;
            lpChara->nSkillTime[s] = 0;
        }
    }
    lpChara->bBig = lpChara->bSmall = 0;
}

void SizeBig(CHARA* lpChara) {
    SetBox(lpChara, 64, 6, 64);
    lpChara->bBig = 1;
    BoxUpdate(&lpChara->box);
}

void SizeSmall(CHARA* lpChara) {
    SetBox(lpChara, 16, 4, 192);
    lpChara->bSmall = 1;
    BoxUpdate(&lpChara->box);
}

bool SkillUsable(const CHARA* lpChara, int32_t nId, const CHARA* lpOther) {
    if (nId == SKILL_FREE) {
        const double dX = lpChara->nSpeedX, dY = lpChara->nSpeedY;
        if (std::sqrt(dX * dX + dY * dY) >= 1500.0) {
            DSPlay(&g_Sound[SND_ERROR], 0);
            return false;
        }
    } else if (nId == SKILL_BIG) {
        CHARA grown = *lpChara;
        SizeBig(&grown);
        if (BoxOverlap(&grown.box, &lpOther->box)) return false;
    }
    return true;
}

void SkillTrigger(CHARA* lpChara, const INPUTSTATE* lpInput, const CHARA* lpOther) {
    if (lpChara->nGauge < lpChara->nGaugeCost) return;
    int32_t b = 0;
    while (b < SKILL_BUTTONS && !(lpInput->wButton & (1u << b))) b++;
    if (b == SKILL_BUTTONS) return;
    const int32_t nId = lpChara->nSkill[b];
    if (nId < 0 || nId >= SKILL_COUNT) return;  // a button without a valid skill does nothing
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (lpChara->nSkillFlag[s] != 0) continue;
        if (!SkillUsable(lpChara, nId, lpOther)) continue;
        g_SkillHandler[nId](lpChara, s);
        lpChara->nGauge = Sub32(lpChara->nGauge, lpChara->nGaugeCost);
        if (lpChara->nSkillTime[s] < 1) lpChara->nSkillTime[s] = 1;
        return;
    }
}

void SkillTick(CHARA* lpChara, const CHARA* lpOther) {
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        const uint32_t dwFlag = lpChara->nSkillFlag[s];
        if (dwFlag == 0) continue;
        if (dwFlag == (1u << SKILL_TRAP) && lpChara->slot[s][0].nCount < 100) continue;
        lpChara->nSkillTime[s] = Sub32(lpChara->nSkillTime[s], 1);
        if (lpChara->nSkillTime[s] > 0) continue;
        if (dwFlag == (1u << SKILL_CHANGE)) {
            ChangeSwap();
        } else if (dwFlag == (1u << SKILL_BIG)) {
            SizeNormal(lpChara);
        } else if (dwFlag == (1u << SKILL_SMALL)) {
            CHARA normal = *lpChara;
            SizeNormal(&normal);
            if (BoxOverlap(&normal.box, &lpOther->box)) continue;  // no room yet: stay small
            SizeNormal(lpChara);
        } else if (dwFlag == (1u << SKILL_FREE)) {
            lpChara->nSpeedX = lpChara->nSpeedY = 0;
        }
        SlotEnd(lpChara, s);
    }

    const int32_t nCost = lpChara->nGaugeCost;
    if (lpChara->nGauge < Mul32(3, nCost)) {
        lpChara->nGauge++;
        // A cost of 0 or less (damaged numbers) fills no stock, rather than dividing by it.
        if (nCost > 0 && lpChara->nGauge % nCost == 0) {
            DSPlay(&g_Sound[SND_SKILL], 0);
            AnimSet(&lpChara->anmGauge, GAUGE_FLASH);
        }
    }
}

void SkillEndFree(CHARA* lpChara) {
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (lpChara->nSkillFlag[s] == (1u << SKILL_FREE)) {
            lpChara->nSkillTime[s] = 0;
            SlotEnd(lpChara, s);
        }
    }
}

void ChangeSwap() {
    std::swap(g_Chara[0].chr, g_Chara[1].chr);
}

void ChangeUndo() {
    for (int32_t s = 0; s < SKILL_SLOTS; s++)
        for (const CHARA& c : g_Chara)
            if (c.nSkillFlag[s] == (1u << SKILL_CHANGE)) ChangeSwap();
}

void SkillSuction(CHARA* lpTarget, const CHARA* lpUser) {
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (lpUser->nSkillFlag[s] != (1u << SKILL_SUCTION)) continue;
        const double dx = double(lpUser->box.nX) - lpTarget->box.nX;
        const double dy = double(lpUser->box.nY) - lpTarget->box.nY;
        const int32_t d = Trunc32(std::sqrt(dx * dx + dy * dy));
        if (d == 0) continue;  // corners on top of each other: no direction to pull in
        lpTarget->nSpeedX = Add32(lpTarget->nSpeedX, Trunc32(dx / d * 30.0));
        lpTarget->nSpeedY = Add32(lpTarget->nSpeedY, Trunc32(dy / d * 30.0));
        BoxUpdate(&lpTarget->box);
    }
}

void SkillReflect(CHARA* lpChara) {
    if (!SkillActive(lpChara, SKILL_REFLECT)) return;
    BOX& box = lpChara->box;
    const int32_t nHalfX = ((box.nWidth & ~1) / 2 - 1) * 1024;  // corner to centre, as BoxUpdate
    const int32_t nHalfY = ((box.nHeight & ~1) / 2 - 1) * 1024;
    if (box.nCenterX < 0) {
        DSPlay(&g_Sound[SND_REFLECT], 0);
        lpChara->nSpeedX = Neg32(lpChara->nSpeedX);
        box.nX = Neg32(nHalfX);
    } else if (box.nCenterX >= 640 * 1024) {
        DSPlay(&g_Sound[SND_REFLECT], 0);
        lpChara->nSpeedX = Neg32(lpChara->nSpeedX);
        box.nX = Sub32(640 * 1024 - 1, nHalfX);
    }
    if (box.nCenterY < 0) {
        DSPlay(&g_Sound[SND_REFLECT], 0);
        lpChara->nSpeedY = Neg32(lpChara->nSpeedY);
        box.nY = Neg32(nHalfY);
    } else if (box.nCenterY >= 480 * 1024) {
        DSPlay(&g_Sound[SND_REFLECT], 0);
        lpChara->nSpeedY = Neg32(lpChara->nSpeedY);
        box.nY = Sub32(480 * 1024 - 1, nHalfY);
    }
    BoxUpdate(&box);
}
