#include "app/scene_state.h"

#include "app/state_buf.h"

int32_t g_nScene;
int32_t g_nNextScene;
int32_t g_nTitleSelect;
OPTIONSCENE* g_lpOption;
bool g_bTitleOnline;

namespace {
// On the five-row title: VS COM, two players, online, options, quit.
constexpr int32_t kSelectOfRow[5] = {TITLE_ROW_VS_COM, TITLE_ROW_TWO_PLAYERS, TITLE_ROW_ONLINE,
                                     TITLE_ROW_OPTIONS, TITLE_ROW_QUIT};
}  // namespace

int32_t TitleRowOf(int32_t nSelect) {
    if (!g_bTitleOnline) return nSelect;
    for (int32_t nRow = 0; nRow < 5; ++nRow)
        if (kSelectOfRow[nRow] == nSelect) return nRow;
    return nSelect;
}

int32_t TitleSelectOf(int32_t nRow) {
    return g_bTitleOnline && nRow >= 0 && nRow < 5 ? kSelectOfRow[nRow] : nRow;
}
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
