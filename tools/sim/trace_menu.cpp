#include "app/frame.h"
#include "app/option.h"
#include "input/input.h"
#include "menus/option_scene.h"
#include "menus/title.h"
#include "trace.h"

std::string TraceMenu() {
    std::string s;
    if (g_nScene == SCENE_TITLE && g_nTitleState == 1) {
        s = ",\"menu\":{\"state\":" + std::to_string(g_nTitlePhase) +
            ",\"row\":" + std::to_string(g_Cursor[0].nRow) + "}";
    } else if (g_nScene == SCENE_OPTION && g_lpOption) {
        s = ",\"menu\":{\"state\":" + std::to_string(g_lpOption->nState) +
            ",\"row\":" + std::to_string(g_Cursor[0].nRow) + ",\"values\":[";
        for (size_t i = 0; i < g_lpOption->nValue.size(); ++i)
            s += (i ? "," : "") + std::to_string(g_lpOption->nValue[i]);
        s += "]}";
    } else if (g_nScene == SCENE_SELECT || g_nScene == SCENE_BATTLE) {
        s = ",\"mode\":" + std::to_string(g_nBattleMode);
    }
    return s;
}
