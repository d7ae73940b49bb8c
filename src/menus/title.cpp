#include "menus/title.h"

#include "app/option.h"
#include "app/scene_state.h"
#include "app/state_buf.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "input/input.h"
#include "sound/sound.h"

int32_t g_nTitleState;
int32_t g_nTitlePhase;

namespace {
constexpr int TITLE_BITMAPS[4] = {BMP_BATTLE_CHARA, BMP_TITLE, BMP_MESSAGE, BMP_OTHER};

void TitleDraw(bool bCursor) {
    DDBltClip(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_TITLE], 0, 0, 0);
    DDBltClip(g_BackBuffer, 104, 64, 432, 48, g_Bitmap[BMP_MESSAGE], 0, 96, 1);
    // The menu panel: four rows, or five with online play.
    if (g_bTitleOnline)
        DDBltClip(g_BackBuffer, 200, 240, 288, 240, g_Bitmap[BMP_MESSAGE], 0, 336, 1);
    else
        DDBltClip(g_BackBuffer, 200, 240, 288, 192, g_Bitmap[BMP_MESSAGE], 0, 144, 1);
    if (bCursor)
        DDBltClip(g_BackBuffer, g_Cursor[0].nX, g_Cursor[0].nY, 16, 16, g_Bitmap[BMP_OTHER], 16, 0, 1);
}

void TitleConfirm(int nRow) {
    g_nTitleSelect = TitleSelectOf(nRow);
    switch (g_nTitleSelect) {
        case TITLE_ROW_VS_COM:
            // Trick and shooting battles are for two humans only.
            g_nBattleMode = g_Option.nBattleMode;
            if (g_nBattleMode == BATTLE_TRICK || g_nBattleMode == BATTLE_SHOOTING)
                g_nBattleMode = BATTLE_NORMAL;
            CursorReset(&g_Cursor[0]);
            CursorReset(&g_Cursor[1]);
            g_nNextScene = SCENE_SELECT;
            break;
        case TITLE_ROW_TWO_PLAYERS:
            g_nBattleMode = g_Option.nBattleMode;
            CursorReset(&g_Cursor[0]);
            CursorReset(&g_Cursor[1]);
            g_nNextScene = SCENE_SELECT;
            break;
        case TITLE_ROW_OPTIONS:
            CursorReset(&g_Cursor[0]);
            g_nNextScene = SCENE_OPTION;
            break;
        case TITLE_ROW_QUIT:
            PostClose();
            break;
        case TITLE_ROW_ONLINE:
            CursorReset(&g_Cursor[0]);
            g_nNextScene = SCENE_ONLINE;
            break;
        default:
            break;
    }
}
}  // namespace

bool TitleMain() {
    return SceneMain(&g_nTitleState, TitleLoad, TitleRun, TitleRelease);
}

bool TitleLoad() {
    if (!DDLoadBitmaps(TITLE_BITMAPS)) return false;
    g_bPaletteDirty = 1;
    g_nTitleState = 1;
    g_nTitlePhase = TITLE_FADE_IN;
    return true;
}

void TitleRun() {
    InputTrigger(&g_Input[0]);
    InputRepeat(&g_Input[0]);
    switch (g_nTitlePhase) {
        case TITLE_FADE_IN:
            if (DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_nTitlePhase = TITLE_MENU;
                g_bPaletteDirty = 0;
            }
            TitleDraw(false);
            break;
        case TITLE_MENU:
            CursorMove(&g_Input[0], &g_Cursor[0], 0, 48, 184, 256, 0, g_bTitleOnline ? 4 : 3);
            PlayCursorSound(&g_Input[0], 2, SND_CURSOR);
            if (g_Input[0].wButton & BUTTON_1) {
                DSPlay(&g_Sound[SND_DECIDE], 0);
                g_nTitlePhase = TITLE_FADE_OUT;
                TitleConfirm(g_Cursor[0].nRow);
            } else {
                TitleDraw(true);
            }
            break;
        case TITLE_FADE_OUT:
            if (DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_nTitleState = -1;
                g_bPaletteDirty = 0;
            }
            break;
        default:
            break;
    }
}

void TitleRelease() {
    DDReleaseBitmaps(TITLE_BITMAPS);
    g_nTitleState = 0;
    g_nScene = g_nNextScene;
}

void TitleStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nTitleState);
    StateField(lpBuf, g_nTitlePhase);
}
