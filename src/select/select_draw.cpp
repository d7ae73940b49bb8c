#include <cstdint>

#include "app/option.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "input/input.h"
#include "lang/lang.h"
#include "select/select.h"

namespace {

constexpr uint32_t WHITE = DDRGB(255, 255, 255);

bool ValidChara(int32_t nIndex) {
    return nIndex >= 0 && nIndex < CHARA_COUNT;
}

// The character shown for player p: under the cursor while choosing, the chosen one after.
int32_t ShownChara(int32_t p) {
    const bool bSkills = g_nSelectState == SELECT_COM_SKILL || g_nSelectState == SELECT_VS_SKILL;
    return bSkills ? g_Cursor[p].nChosen - 1 : g_Cursor[p].nCol;
}

void DrawPortrait(int32_t p, int32_t x) {
    const int32_t nIndex = ShownChara(p);
    if (ValidChara(nIndex))
        DDBltClip(g_BackBuffer, x, 64, 32, 32, g_Bitmap[BMP_BATTLE_CHARA], 32 * nIndex, 32, 1);
}

void DrawInfo(int32_t p, int32_t x) {
    const int32_t nIndex = ShownChara(p);
    if (ValidChara(nIndex)) DrawCharaInfo(x, 64, nIndex);
}

}  // namespace

void SelectDrawRow() {
    DDBltClip(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_CHARA_SELECT], 0, 0, 0);
    for (int32_t i = 0; i < CHARA_COUNT; i++)
        DDBltClip(g_BackBuffer, 128 + 32 * i, 320, 32, 32, g_Bitmap[BMP_BATTLE_CHARA], 32 * i, 32, 1);
}

void SelectDraw() {
    const SURFACE& other = g_Bitmap[BMP_OTHER];
    const CURSOR& c1 = g_Cursor[0];
    const CURSOR& c2 = g_Cursor[1];
    const int32_t nState = g_nSelectState;
    SelectDrawRow();
    const bool bCharaState = nState == SELECT_COM_CHARA || nState == SELECT_VS_CHARA;
    // In VS COM the COM's cursor and picture appear once player 1 has his character.
    const bool bShowP2 = nState != SELECT_COM_CHARA || c1.nChosen != 0;
    if (bCharaState) {
        if (!c1.nChosen) DDBltClip(g_BackBuffer, c1.nX, c1.nY, 16, 16, other, 32, 0, 1);
        if (!c2.nChosen && bShowP2) DDBltClip(g_BackBuffer, c2.nX + 2, c2.nY, 16, 16, other, 32, 16, 1);
    } else {
        if (nState == SELECT_COM_SKILL || !c1.nDecided)
            DDBltClip(g_BackBuffer, c1.nX, c1.nY, 16, 16, other, 16, 0, 1);
        if (nState == SELECT_VS_SKILL && !c2.nDecided)
            DDBltClip(g_BackBuffer, c2.nX, c2.nY, 16, 16, other, 16, 16, 1);
    }
    DrawPortrait(0, 16);
    if (bShowP2) DrawPortrait(1, 592);
    DrawInfo(0, 80);
    if (bShowP2) DrawInfo(1, 416);
    if (!bCharaState) DrawSkillNames();
    DrawModeName();
}

void DrawCharaInfo(int x, int y, int nIndex) {
    const CHARACTER& chr = g_CharaTable[nIndex];
    DDTextOutF(g_BackBuffer, x, y, WHITE, "%s\n%s\n%s\n%s", GameText(TXT_CHARA_NAME + nIndex),
               GameText(TXT_POWER), GameText(TXT_SPEED), GameText(TXT_TECHNIQUE));
    DDTextOutF(g_BackBuffer, x + 120, y + 20, WHITE, "%3d\n%3d\n%3d", chr.nWeight, chr.nSpeed,
               chr.nSkillPower);
}

void DrawSkillNames() {
    const SKILLLIST& list = *SkillListOf(g_nBattleMode);
    for (int32_t p = 0; p < 2; p++) {
        const char* szName[4];
        for (int32_t k = 0; k < 4; k++) {
            const int32_t n = g_nSkillChoice[k][p];
            szName[k] = n >= 0 && n < list.nCount ? GameText(TXT_SKILL_NAME + list.nId[n]) : "";
        }
        DDTextOutF(g_BackBuffer, p == 0 ? 80 : 416, 160, WHITE, "%s%s\n%s%s\n%s%s\n%s%s",
                   GameText(TXT_SKILL_LABEL), szName[0], GameText(TXT_SKILL_LABEL + 1), szName[1],
                   GameText(TXT_SKILL_LABEL + 2), szName[2], GameText(TXT_SKILL_LABEL + 3), szName[3]);
    }
}

void DrawModeName() {
    const int32_t nMode = g_nBattleMode >= 0 && g_nBattleMode < BATTLE_MODES ? g_nBattleMode : BATTLE_NORMAL;
    // Where the name starts is its box's left (the shooting battle's longer name further left).
    const GAMETEXT& text = TextTable(g_nLanguage)[TXT_MODE_NAME + nMode];
    DDTextOut(g_BackBuffer, text.Box.nLeft, 416, WHITE, text.szText);
}
