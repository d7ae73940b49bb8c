// Skills: ids, names, the mode lists, the gauge and the per-frame skill steps.
#pragma once
#include <array>
#include <cstdint>

#include "app/option.h"
#include "battle/chara.h"
#include "input/input.h"

enum {
    SKILL_ATTACK = 0,       // アタック
    SKILL_SHIELD = 1,       // シールド
    SKILL_METAL = 2,        // メタル
    SKILL_BOOST = 3,        // ブースト
    SKILL_REFLECT = 4,      // 反射
    SKILL_FREE = 5,         // フリー
    SKILL_SUCTION = 6,      // 吸い込み
    SKILL_CLONE = 7,        // 分身
    SKILL_CLONE4 = 8,       // 四方分身
    SKILL_VANISH = 9,       // バニッシュ
    SKILL_AFTERIMAGE = 10,  // 残像
    SKILL_SHOT = 11,        // ショット
    SKILL_TRAP = 12,        // トラップ
    SKILL_BIG = 13,         // ビッグ
    SKILL_SMALL = 14,       // スモール
    SKILL_CHANGE = 15,      // チェンジ
    SKILL_SHADE = 16,       // シェイド
    SKILL_COUNT = 17,
};

extern const std::array<const char*, SKILL_COUNT> g_szSkillName;

// The skills a battle mode offers, in display order. Names are UTF-8 here.
struct SKILLLIST {
    char szName[SKILL_COUNT][32];
    int32_t nId[SKILL_COUNT];
    int32_t nCount;
};
extern const std::array<SKILLLIST, BATTLE_MODES> g_SkillList;
// The list of a mode; a mode outside 0..3 gets the normal list.
const SKILLLIST* SkillListOf(int32_t nMode);

using SKILLHANDLER = void (*)(CHARA* lpChara, int32_t nSlot);
extern const std::array<SKILLHANDLER, SKILL_COUNT> g_SkillHandler;

// Starts the skill of the lowest pressed button in a free slot if the gauge holds a stock.
void SkillTrigger(CHARA* lpChara, const INPUTSTATE* lpInput, const CHARA* lpOther);
bool SkillUsable(const CHARA* lpChara, int32_t nId, const CHARA* lpOther);
// Counts the running skills down, ends them, and fills the gauge.
void SkillTick(CHARA* lpChara, const CHARA* lpOther);

void SizeNormal(CHARA* lpChara);
void SizeBig(CHARA* lpChara);
void SizeSmall(CHARA* lpChara);

// lpUser's running suctions pull lpTarget towards it.
void SkillSuction(CHARA* lpTarget, const CHARA* lpUser);
// A running reflect turns the fighter back at the arena edges.
void SkillReflect(CHARA* lpChara);
// Before a round reset: every running change swaps the two fighters' chr blocks back.
void ChangeUndo();
// A fighter collision ends every free-movement skill of the fighter (velocity kept).
void SkillEndFree(CHARA* lpChara);
// Exchanges the chr blocks of g_Chara[0] and g_Chara[1].
void ChangeSwap();
