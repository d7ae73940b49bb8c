#include "app/scene_state.h"

#include "app/state_buf.h"

int32_t g_nScene;
int32_t g_nNextScene;
int32_t g_nTitleSelect;
OPTIONSCENE* g_lpOption;
int32_t g_nCloseRequest = -1;

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

// The first request wins, as the first close message did.
void PostClose() {
    if (g_nCloseRequest < 0) g_nCloseRequest = 0;
}

void PostCloseFailed() {
    if (g_nCloseRequest < 0) g_nCloseRequest = 1;
}

void SceneStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nScene);
    StateField(lpBuf, g_nNextScene);
    StateField(lpBuf, g_nTitleSelect);
}
