#include "menus/option_scene.h"

#include <climits>
#include <cmath>
#include <new>
#include <stdexcept>

#include "app/data_folder.h"
#include "app/debug_trace.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "input/input.h"
#include "lang/lang.h"
#include "platform/plat_system.h"
#include "sound/sound.h"

namespace {

// The rows that edit a value: label, range.
struct OPTIONROW {
    int32_t nLabel;
    int32_t nMin, nMax;
};
constexpr std::array<OPTIONROW, OPTION_ROW_LANGUAGE> g_OptionRows = {{
    {TXT_OPTION_WINS, 1, 5},
    {TXT_OPTION_DEFENSE_P1, 1, 5},
    {TXT_OPTION_DEFENSE_P2, 1, 5},
    {TXT_OPTION_DEFENSE_COM, 1, 5},
    {TXT_OPTION_COM_LEVEL, 0, 4},
    {TXT_OPTION_SPEED, 1, 20},
    {TXT_OPTION_MODE, 0, 3},
}};
constexpr int32_t kComLevels = 5;

// The battle mode's help: its lines at their offsets below the menu's top.
struct HELPLINE {
    int32_t nMode, nOffset;
};
constexpr std::array<HELPLINE, 9> g_HelpLines = {{
    {0, 248},
    {1, 248},
    {1, 272},
    {2, 248},
    {2, 272},
    {2, 296},
    {2, 320},
    {2, 344},
    {3, 248},
}};
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kMenuX = 32, kMenuY = 32;

void OptionBackground() {
    DDBltFramed(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_OPTION], 0, 0, 255);
}

// Name nValue of the nCount texts from nFirst, or "?" for a value a damaged settings file left
// outside them.
const char* NameOf(int32_t nFirst, int32_t nCount, int32_t nValue) {
    return nValue >= 0 && nValue < nCount ? GameText(nFirst + nValue) : "?";
}

const char* RowLabel(int32_t nRow) {
    if (nRow < OPTION_ROW_LANGUAGE) return GameText(g_OptionRows[size_t(nRow)].nLabel);
    if (nRow == OPTION_ROW_LANGUAGE) return LanguageLabel().szText;
    return GameText(nRow == OPTION_ROW_SAVE ? TXT_OPTION_SAVE : TXT_OPTION_BACK);
}

// The speed as the integer the menu edits, truncated toward zero; a damaged file's NaN or
// out-of-range value is brought to the nearest int instead of being converted blindly.
int32_t SpeedToInt(double dSpeed) {
    if (std::isnan(dSpeed)) return 0;
    if (dSpeed >= 2147483647.0) return INT32_MAX;
    if (dSpeed <= -2147483648.0) return INT32_MIN;
    return int32_t(dSpeed);
}

}  // namespace

void CreateOption() {
    if (g_lpOption) return;
    OPTIONSCENE* lpScene = new (std::nothrow) OPTIONSCENE;
    if (!lpScene) throw std::runtime_error("CreateOption Error");
    lpScene->lpfnState = {OptionFadeIn, OptionMenu, OptionFadeOut};
    lpScene->nBitmap = {BMP_OPTION, BMP_OTHER};
    DDCreateFont(0, 24);
    OptionGet(lpScene);
    lpScene->nState = OPTION_NOT_LOADED;
    g_lpOption = lpScene;
}

void OptionRun(OPTIONSCENE* lpScene) {
    InputTrigger(&g_Input[0]);
    InputRepeat(&g_Input[0]);
    if (lpScene->nState == OPTION_NOT_LOADED) {
        try {
            OptionLoad(lpScene);
        } catch (const std::exception& e) {
            DebugTrace(e.what());
            PostCloseFailed();
        }
        lpScene->nState = OPTION_FADE_IN;
    }
    if (lpScene->nState >= 0 && lpScene->nState < 3) lpScene->lpfnState[size_t(lpScene->nState)](lpScene);
}

void OptionDestroy(OPTIONSCENE* lpScene) {
    for (int32_t nId : lpScene->nBitmap) DDReleaseSurface(g_Bitmap[size_t(nId)]);
    DDDeleteFont();
}

void OptionLoad(OPTIONSCENE* lpScene) {
    if (!DDCreateSurfaceFromBitmapList(g_Bitmap, lpScene->nBitmap.data(), 2))
        throw std::runtime_error("DDCreateSurfaceFromBitmapList Error");
    CursorReset(&g_Cursor[0]);
}

void OptionFadeIn(OPTIONSCENE* lpScene) {
    if (DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) lpScene->nState = OPTION_MENU;
    OptionBackground();
    OptionDraw(lpScene, g_BackBuffer, kMenuX, kMenuY);
}

void OptionMenu(OPTIONSCENE* lpScene) {
    INPUTSTATE& in = g_Input[0];
    CursorMove(&in, &g_Cursor[0], 0, 24, 16, 36, 0, OPTION_ROWS - 1);
    PlayCursorSound(&in, 2, SND_CURSOR);
    int32_t nRow = g_Cursor[0].nRow;
    if (in.wButton & BUTTON_1) {
        if (nRow == OPTION_ROW_SAVE) {
            DSPlay(&g_Sound[SND_SHOT], 0);
            OptionApply(lpScene);
            // A replay never writes the player's settings.
            if (!g_bSettingsReadOnly) {
                if (PrepareUserDataDir()) SaveOptionFile(UserDataFile("Option.dat").c_str(), &g_Option);
                SaveLanguage();
            }
        } else if (nRow == OPTION_ROW_BACK) {
            DSPlay(&g_Sound[SND_DECIDE], 0);
            OptionApply(lpScene);
            lpScene->nState = OPTION_FADE_OUT;
        }
        return;
    }
    if (in.wButton & BUTTON_2) {
        DSPlay(&g_Sound[SND_CANCEL], 0);
        OptionApply(lpScene);
        lpScene->nState = OPTION_FADE_OUT;
        return;
    }
    int32_t nChange = (in.wDir & DIR_RIGHT) ? 1 : (in.wDir & DIR_LEFT) ? -1 : 0;
    if (nChange != 0 && nRow == OPTION_ROW_LANGUAGE) {
        // Two languages: either direction switches, and this frame is drawn in the new one.
        DSPlay(&g_Sound[SND_CURSOR], 0);
        g_nLanguage = g_nLanguage == LANG_EN ? LANG_JA : LANG_EN;
        Plat_SetWindowTitle(GameText(TXT_GAME_NAME));
    } else if (nChange != 0 && nRow >= 0 && nRow < OPTION_ROW_LANGUAGE) {
        DSPlay(&g_Sound[SND_CURSOR], 0);
        const OPTIONROW& row = g_OptionRows[size_t(nRow)];
        int32_t& nValue = lpScene->nValue[size_t(nRow)];
        // Computed wide: a damaged file may hold INT32_MAX.
        int64_t qwValue = int64_t(nValue) + nChange;
        if (qwValue < row.nMin)
            qwValue = row.nMax;
        else if (qwValue > row.nMax)
            qwValue = row.nMin;
        nValue = int32_t(qwValue);
    }
    OptionBackground();
    OptionDraw(lpScene, g_BackBuffer, kMenuX, kMenuY);
    DDBltClip(g_BackBuffer, g_Cursor[0].nX, g_Cursor[0].nY, 16, 16, g_Bitmap[BMP_OTHER], 16, 0, 1);
}

void OptionFadeOut(OPTIONSCENE* lpScene) {
    if (!DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) return;
    lpScene->nState = OPTION_NOT_LOADED;
    g_Cursor[0].nRow = TitleRowOf(g_nTitleSelect);
    g_nNextScene = SCENE_TITLE;
    g_nScene = SCENE_TITLE;
}

void OptionDraw(OPTIONSCENE* lpScene, SURFACE& surf, int32_t nX, int32_t nY) {
    for (int32_t nRow = 0; nRow < OPTION_ROWS; ++nRow)
        DDTextOut(surf, nX, nY + 24 * nRow, kWhite, RowLabel(nRow));
    for (int32_t nRow = 0; nRow < OPTION_ROW_LANGUAGE; ++nRow) {
        int32_t nValue = lpScene->nValue[size_t(nRow)];
        int32_t nY2 = nY + 24 * nRow;
        if (nRow == OPTION_ROW_COM_LEVEL)
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%s", NameOf(TXT_COM_LEVEL, kComLevels, nValue));
        else if (nRow == OPTION_ROW_BATTLE_MODE)
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%s", NameOf(TXT_MODE_NAME, BATTLE_MODES, nValue));
        else
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%d", nValue);
    }
    DDTextOut(surf, nX + 320, nY + 24 * OPTION_ROW_LANGUAGE, kWhite, LanguageName(g_nLanguage).szText);
    if (g_Cursor[0].nRow == OPTION_ROW_BATTLE_MODE)
        for (size_t i = 0; i < g_HelpLines.size(); ++i)
            if (g_HelpLines[i].nMode == lpScene->nValue[OPTION_ROW_BATTLE_MODE])
                DDTextOut(surf, nX, nY + g_HelpLines[i].nOffset, kWhite, GameText(TXT_HELP + int32_t(i)));
    DDTextOut(surf, nX, nY + 384, kWhite, GameText(TXT_OPTION_FOOTER));
}

void OptionApply(OPTIONSCENE* lpScene) {
    g_Option.nWinCount = lpScene->nValue[OPTION_ROW_WIN_COUNT];
    for (int i = 0; i < 3; ++i) g_Option.nDefense[i] = lpScene->nValue[size_t(OPTION_ROW_DEFENSE + i)];
    g_Option.nComLevel = lpScene->nValue[OPTION_ROW_COM_LEVEL];
    g_Option.dGameSpeed = double(lpScene->nValue[OPTION_ROW_GAME_SPEED]);
    g_Option.nBattleMode = lpScene->nValue[OPTION_ROW_BATTLE_MODE];
}

void OptionGet(OPTIONSCENE* lpScene) {
    lpScene->nValue[OPTION_ROW_WIN_COUNT] = g_Option.nWinCount;
    for (int i = 0; i < 3; ++i) lpScene->nValue[size_t(OPTION_ROW_DEFENSE + i)] = g_Option.nDefense[i];
    lpScene->nValue[OPTION_ROW_COM_LEVEL] = g_Option.nComLevel;
    lpScene->nValue[OPTION_ROW_GAME_SPEED] = SpeedToInt(g_Option.dGameSpeed);
    lpScene->nValue[OPTION_ROW_BATTLE_MODE] = g_Option.nBattleMode;
}
