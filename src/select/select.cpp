#include "select/select.h"

extern int32_t g_nScene;

int32_t g_nSelectStep = 0;
int32_t g_nSelectState = 0;
int32_t g_nRoulette[2] = {};
int32_t g_nLastChara[2] = {};
int32_t g_nSkillChoice[4][2] = {};

bool SelectSetup()
{
    g_nSelectState = SELECT_FADE_IN;
    g_nSelectStep = 1;
    return true;
}

void SelectFrame() { g_nSelectStep = -1; }

void SelectRelease()
{
    g_nScene = 0;
    g_nSelectStep = 0;
}

bool SelectMain()
{
    switch (g_nSelectStep) {
    case -1:
        SelectRelease();
        return true;
    case 0:
        if (!SelectSetup()) return false;
        SelectFrame();
        return true;
    case 1:
        SelectFrame();
        return true;
    default:
        return true;
    }
}
