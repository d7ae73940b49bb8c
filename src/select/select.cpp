#include "select/select.h"

#include <cstring>

#include "app/crt_rand.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/state_buf.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "gfx/bitmap.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "input/input.h"
#include "sound/sound.h"

int32_t g_nSelectStep = 0;
int32_t g_nSelectState = 0;
int32_t g_nRoulette[2] = {};
int32_t g_nLastChara[2] = {};
int32_t g_nSkillChoice[4][2] = {};

namespace {

enum { ACT_NONE, ACT_DECIDE, ACT_CANCEL, ACT_ROULETTE };

// Default list indices of buttons 1-4 by battle mode.
constexpr int32_t DEFAULT_SKILLS[4][4] = {{0, 1, 2, 3}, {0, 1, 2, 3}, {6, 7, 0, 2}, {0, 1, 2, 3}};

constexpr int32_t SKILL_ARROW_X[2] = {64, 400};

constexpr int SELECT_BITMAPS[3] = {BMP_BATTLE_CHARA, BMP_CHARA_SELECT, BMP_OTHER};

void Play(int32_t nSound) {
    DSPlay(&g_Sound[nSound], 0);
}

int32_t Action(const INPUTSTATE* lpInput) {
    if (lpInput->wButton & BUTTON_1) return ACT_DECIDE;
    if (lpInput->wButton & BUTTON_2) return ACT_CANCEL;
    if (lpInput->wButton & BUTTON_3) return ACT_ROULETTE;
    return ACT_NONE;
}

void MoveCharaCursor(INPUTSTATE* lpInput, CURSOR* lpCursor) {
    CursorMove(lpInput, lpCursor, 32, 0, 136, 304, 11, 0);
}

int32_t CharaCursorStep(INPUTSTATE* lpInput, CURSOR* lpCursor) {
    InputTrigger(lpInput);
    InputRepeat(lpInput);
    MoveCharaCursor(lpInput, lpCursor);
    PlayCursorSound(lpInput, 1, SND_CURSOR);
    return Action(lpInput);
}

int32_t SkillCursorStep(int32_t nPlayer, INPUTSTATE* lpInput, CURSOR* lpCursor) {
    InputTrigger(lpInput);
    InputRepeat(lpInput);
    CursorMove(lpInput, lpCursor, 0, 19, SKILL_ARROW_X[nPlayer], 163, 0, 3);
    SelectSkillCycle(lpInput, &g_nSkillChoice[lpCursor->nRow][nPlayer]);
    PlayCursorSound(lpInput, 3, SND_CURSOR);
    return Action(lpInput);
}

void Leave(int32_t nNextScene) {
    g_nSelectState = SELECT_FADE_OUT;
    g_nNextScene = nNextScene;
    g_bPaletteDirty = 1;
}

// Button 3: 40 frames of roulette, a new pick every 5th.
void StartRoulette(int32_t nPlayer) {
    Play(SND_CURSOR);
    g_nRoulette[nPlayer] = 40;
}

// Both characters are chosen: the select comes back to them after the battle.
void RememberCharas() {
    g_nLastChara[0] = g_Cursor[0].nCol;
    g_nLastChara[1] = g_Cursor[1].nCol;
}

void Withdraw(CURSOR* lpCursor) {
    lpCursor->nCol = lpCursor->nChosen - 1;
    lpCursor->nChosen = 0;
}

// Hands both fighters to the battle: who steers, and the skills on the four buttons.
void HandOver(int32_t nControl2) {
    const SKILLLIST& list = *SkillListOf(g_nBattleMode);
    g_Chara[0].nControl = CONTROL_P1;
    g_Chara[1].nControl = nControl2;
    for (int32_t p = 0; p < 2; p++)
        for (int32_t k = 0; k < 4; k++) {
            const int32_t n = g_nSkillChoice[k][p];
            g_Chara[p].nSkill[k] = list.nId[n >= 0 && n < list.nCount ? n : 0];
        }
    Leave(SCENE_BATTLE);
}

void StateComChara() {
    INPUTSTATE* lpInput = &g_Input[0];
    const bool bOwn = g_Cursor[0].nChosen == 0;
    CURSOR* lpCursor = bOwn ? &g_Cursor[0] : &g_Cursor[1];
    if (g_nRoulette[0] > 0) {
        CharaRoulette(&g_nRoulette[0], lpCursor, lpInput);
        SelectDraw();
        return;
    }
    switch (CharaCursorStep(lpInput, lpCursor)) {
        case ACT_DECIDE:
            Play(SND_DECIDE);
            SelectChara(&g_Chara[bOwn ? 0 : 1], lpCursor, lpCursor->nCol);
            if (!bOwn) {
                RememberCharas();
                g_nSelectState = SELECT_COM_SKILL;
            }
            return;
        case ACT_CANCEL:
            Play(SND_CANCEL);
            if (bOwn)
                Leave(SCENE_TITLE);
            else
                Withdraw(&g_Cursor[0]);
            return;
        case ACT_ROULETTE:
            StartRoulette(0);
            return;
        default:
            SelectDraw();
            return;
    }
}

void StateComSkill() {
    if (g_Cursor[0].nDecided == 0) {
        if (g_nRoulette[0] > 0) {
            SkillRoulette(&g_nRoulette[0], 0);
        } else {
            switch (SkillCursorStep(0, &g_Input[0], &g_Cursor[0])) {
                case ACT_DECIDE:
                    Play(SND_DECIDE);
                    g_Cursor[0].nDecided = g_Cursor[0].nRow + 1;
                    HandOver(CONTROL_COM);
                    return;
                case ACT_CANCEL:
                    Play(SND_CANCEL);
                    Withdraw(&g_Cursor[0]);
                    Withdraw(&g_Cursor[1]);
                    g_nSelectState = SELECT_COM_CHARA;
                    return;
                case ACT_ROULETTE:
                    StartRoulette(0);
                    return;
                default:
                    break;
            }
        }
    }
    SelectDraw();
}

void StateVsChara() {
    for (int32_t p = 0; p < 2; p++) {
        INPUTSTATE* lpInput = &g_Input[p];
        CURSOR* lpCursor = &g_Cursor[p];
        if (lpCursor->nChosen == 0) {
            if (g_nRoulette[p] > 0) {
                CharaRoulette(&g_nRoulette[p], lpCursor, lpInput);
                continue;
            }
            switch (CharaCursorStep(lpInput, lpCursor)) {
                case ACT_DECIDE:
                    Play(SND_DECIDE);
                    SelectChara(&g_Chara[p], lpCursor, lpCursor->nCol);
                    return;
                case ACT_CANCEL:
                    Play(SND_CANCEL);
                    Leave(SCENE_TITLE);
                    return;
                case ACT_ROULETTE:
                    StartRoulette(p);
                    return;
                default:
                    break;
            }
        } else if (lpInput->wButton & BUTTON_2) {
            // Read raw: a chosen player's filter is not stepped, so a held button 2 withdraws.
            Play(SND_CANCEL);
            Withdraw(lpCursor);
            return;
        }
    }
    if (g_Cursor[0].nChosen && g_Cursor[1].nChosen) {
        RememberCharas();
        g_nSelectState = SELECT_VS_SKILL;
        return;
    }
    SelectDraw();
}

void StateVsSkill() {
    for (int32_t p = 0; p < 2; p++) {
        INPUTSTATE* lpInput = &g_Input[p];
        CURSOR* lpCursor = &g_Cursor[p];
        if (lpCursor->nDecided == 0) {
            if (g_nRoulette[p] > 0) {
                SkillRoulette(&g_nRoulette[p], p);
                continue;
            }
            switch (SkillCursorStep(p, lpInput, lpCursor)) {
                case ACT_DECIDE:
                    Play(SND_DECIDE);
                    lpCursor->nDecided = lpCursor->nRow + 1;
                    return;
                case ACT_CANCEL:
                    Play(SND_CANCEL);
                    g_Cursor[0].nCol = g_Cursor[0].nChosen - 1;
                    g_Cursor[1].nCol = g_Cursor[1].nChosen - 1;
                    lpCursor->nChosen = 0;
                    g_nSelectState = SELECT_VS_CHARA;
                    return;
                case ACT_ROULETTE:
                    StartRoulette(p);
                    return;
                default:
                    break;
            }
        } else if (lpInput->wButton & BUTTON_2) {
            Play(SND_CANCEL);
            lpCursor->nRow = lpCursor->nDecided - 1;
            lpCursor->nDecided = 0;
            return;
        }
    }
    if (g_Cursor[0].nDecided && g_Cursor[1].nDecided) {
        HandOver(CONTROL_P2);
        return;
    }
    SelectDraw();
}

}  // namespace

void SelectDefaultSkills() {
    // A damaged mode number falls back to the normal battle, as the skill lists do.
    const int32_t nMode = g_nBattleMode >= 0 && g_nBattleMode < BATTLE_MODES ? g_nBattleMode : BATTLE_NORMAL;
    for (int32_t k = 0; k < 4; k++) g_nSkillChoice[k][0] = g_nSkillChoice[k][1] = DEFAULT_SKILLS[nMode][k];
}

void SelectChara(CHARA* lpChara, CURSOR* lpCursor, int nIndex) {
    std::memcpy(&lpChara->chr, &g_CharaTable[nIndex], sizeof(CHARACTER));
    lpCursor->nChosen = lpCursor->nCol + 1;
}

void SelectSkillCycle(INPUTSTATE* lpInput, int* lpChoice) {
    const int32_t nCount = SkillListOf(g_nBattleMode)->nCount;
    if (lpInput->wDir & DIR_LEFT) {
        if (--*lpChoice < 0) *lpChoice = nCount - 1;
    } else if (lpInput->wDir & DIR_RIGHT) {
        if (++*lpChoice >= nCount) *lpChoice = 0;
    }
}

void CharaRoulette(int* lpCount, CURSOR* lpCursor, INPUTSTATE* lpInput) {
    *lpCount -= 1;
    if (*lpCount % 5 != 0) return;
    Play(SND_CURSOR);
    lpCursor->nCol = CrtRand() % 12;
    MoveCharaCursor(lpInput, lpCursor);
}

void SkillRoulette(int* lpCount, int nPlayer) {
    *lpCount -= 1;
    if (*lpCount % 5 != 0) return;
    Play(SND_CURSOR);
    const int32_t nCount = SkillListOf(g_nBattleMode)->nCount;
    for (int32_t k = 0; k < 4; k++) g_nSkillChoice[k][nPlayer] = CrtRand() % nCount;
}

bool SelectSetup() {
    if (!DDLoadBitmaps(SELECT_BITMAPS)) return false;
    // Simulated again after a rollback, the select keeps the font it has (or draws no text).
    if (!g_bDrawOff) DDCreateFont(0, 20);
    g_nSelectState = SELECT_FADE_IN;
    g_bPaletteDirty = 1;
    if (g_Cursor[0].nChosen != 0) {
        // Back from a battle: the last characters under the cursors, the skills as they were.
        for (int32_t p = 0; p < 2; p++) {
            g_Cursor[p].nCol = g_nLastChara[p];
            g_Cursor[p].nChosen = g_Cursor[p].nDecided = 0;
        }
    } else {
        g_Cursor[0].nCol = 0;
        g_Cursor[1].nCol = g_nTitleSelect == TITLE_ROW_TWO_PLAYERS ? 10 : 0;
        SelectDefaultSkills();
    }
    g_nSelectStep = 1;
    return true;
}

void SelectFrame() {
    switch (g_nSelectState) {
        case SELECT_FADE_IN:
            if (DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_bPaletteDirty = 0;
                g_nSelectState = g_nTitleSelect == TITLE_ROW_TWO_PLAYERS ? SELECT_VS_CHARA : SELECT_COM_CHARA;
            } else {
                SelectDrawRow();
            }
            break;
        case SELECT_COM_CHARA:
            StateComChara();
            break;
        case SELECT_COM_SKILL:
            StateComSkill();
            break;
        case SELECT_VS_CHARA:
            StateVsChara();
            break;
        case SELECT_VS_SKILL:
            StateVsSkill();
            break;
        case SELECT_FADE_OUT:
            if (DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_nSelectStep = -1;
                g_Cursor[0].nRow = TitleRowOf(g_nTitleSelect);
                g_bPaletteDirty = 0;
            }
            break;
        default:
            break;
    }
}

void SelectRelease() {
    DDReleaseBitmaps(SELECT_BITMAPS);
    if (!g_bDrawOff) DDDeleteFont();
    g_nScene = g_nNextScene;
    g_nSelectStep = 0;
}

bool SelectMain() {
    return SceneMain(&g_nSelectStep, SelectSetup, SelectFrame, SelectRelease);
}

void SelectStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nSelectStep);
    StateField(lpBuf, g_nSelectState);
    StateField(lpBuf, g_nRoulette);
    StateField(lpBuf, g_nLastChara);
    StateField(lpBuf, g_nSkillChoice);
}
