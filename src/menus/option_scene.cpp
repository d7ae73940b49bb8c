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
#include "sound/sound.h"

namespace {

struct OPTIONROW {
    const char* szLabel;
    int32_t nMin, nMax;
};
constexpr std::array<OPTIONROW, 9> g_OptionRows = {{
    {"必要勝利数", 1, 5},
    {"プレイヤー１の防御力", 1, 5},
    {"プレイヤー２の防御力", 1, 5},
    {"ＣＯＭの防御力", 1, 5},
    {"ＣＯＭの強さ", 0, 4},
    {"ゲームスピード", 1, 20},
    {"バトルモード", 0, 3},
    {"設定をファイルへ保存", 0, 0},
    {"戻る", 0, 0},
}};
constexpr std::array<const char*, 5> g_szComLevel = {"弱すぎ", "弱い", "普通", "強い", "強すぎ"};

struct HELPLINE {
    int32_t nMode, nOffset;
    const char* szText;
};
constexpr std::array<HELPLINE, 9> g_HelpLines = {{
    {0, 248, "ノーマルバトルでは、基本的なスキルしか使用出来ません。"},
    {1, 248, "トリックバトルでは、全てのスキルが使用出来ます。"},
    {1, 272, "※「VS COM」では無効になります！"},
    {2, 248, "シューティングバトルでは、体当たりの攻撃力が激減してし"},
    {2, 272, "まい、選べるスキルも制限されます。"},
    {2, 296, "その代わりに「ショット」の攻撃力が増し、スキルを使用出"},
    {2, 320, "来る間隔も短くなります。"},
    {2, 344, "※「VS COM」では無効になります！"},
    {3, 248, "シンプルバトルでは、スキルは一切使用出来ません。"},
}};
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kMenuX = 32, kMenuY = 32;

void OptionBackground() {
    DDBltFramed(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_OPTION], 0, 0, 255);
}

// A name from a table, or "?" for a value a damaged settings file left outside it.
template <size_t N>
const char* NameOf(const std::array<const char*, N>& table, int32_t nValue) {
    return nValue >= 0 && size_t(nValue) < N ? table[size_t(nValue)] : "?";
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
    CursorMove(&in, &g_Cursor[0], 0, 24, 16, 36, 0, 8);
    PlayCursorSound(&in, 2, SND_CURSOR);
    int32_t nRow = g_Cursor[0].nRow;
    if (in.wButton & BUTTON_1) {
        if (nRow == OPTION_ROW_SAVE) {
            DSPlay(&g_Sound[SND_SHOT], 0);
            OptionApply(lpScene);
            if (!g_bSettingsReadOnly && PrepareUserDataDir())
                SaveOptionFile(UserDataFile("Option.dat").c_str(), &g_Option);
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
    if (nChange != 0 && nRow >= 0 && nRow < OPTION_ROW_SAVE) {
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
    g_Cursor[0].nRow = g_nTitleSelect;
    g_nNextScene = SCENE_TITLE;
    g_nScene = SCENE_TITLE;
}

void OptionDraw(OPTIONSCENE* lpScene, SURFACE& surf, int32_t nX, int32_t nY) {
    for (size_t i = 0; i < g_OptionRows.size(); ++i)
        DDTextOut(surf, nX, nY + 24 * int32_t(i), kWhite, g_OptionRows[i].szLabel);
    for (int32_t nRow = 0; nRow < OPTION_ROW_SAVE; ++nRow) {
        int32_t nValue = lpScene->nValue[size_t(nRow)];
        int32_t nY2 = nY + 24 * nRow;
        if (nRow == OPTION_ROW_COM_LEVEL)
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%s", NameOf(g_szComLevel, nValue));
        else if (nRow == OPTION_ROW_BATTLE_MODE)
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%s", NameOf(g_szBattleModeName, nValue));
        else
            DDTextOutF(surf, nX + 320, nY2, kWhite, "%d", nValue);
    }
    if (g_Cursor[0].nRow == OPTION_ROW_BATTLE_MODE)
        for (const HELPLINE& line : g_HelpLines)
            if (line.nMode == lpScene->nValue[OPTION_ROW_BATTLE_MODE])
                DDTextOut(surf, nX, nY + line.nOffset, kWhite, line.szText);
    DDTextOut(surf, nX, nY + 384, kWhite, "左右キーで変更");
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
