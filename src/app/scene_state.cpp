#include "app/scene_state.h"

#include "app/state_buf.h"
#include "app/window.h"

int32_t g_nScene;
int32_t g_nNextScene;
int32_t g_nTitleSelect;
OPTIONSCENE* g_lpOption;

bool IsTwoHumans() {
    return (g_nScene == SCENE_SELECT || g_nScene == SCENE_BATTLE) && g_nTitleSelect == TITLE_ROW_TWO_PLAYERS;
}

bool SceneMain(int32_t* lpStep, bool (*lpfnLoad)(), void (*lpfnRun)(), void (*lpfnRelease)()) {
    switch (*lpStep) {
        case -1:
            lpfnRelease();
            return true;
        case 0:
            if (!lpfnLoad()) return false;
            lpfnRun();
            return true;
        case 1:
            lpfnRun();
            return true;
        default:
            return true;
    }
}

void PostClose() {
    PostMessage(WM_CLOSE, 0);
}

void PostCloseFailed() {
    PostMessage(WM_CLOSE, 1);
}

void SceneStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nScene);
    StateField(lpBuf, g_nNextScene);
    StateField(lpBuf, g_nTitleSelect);
}
