#include "battle/battle_scene.h"

extern int32_t g_nScene;

int32_t g_nBattleStep = 0;
int32_t g_nBattlePhase = 0;
int32_t g_nFallCount = 0;
int32_t g_nPhaseCount = 0;

bool BattleSetup() { return true; }
void RoundReset() {}
void BattleFrame() { g_nBattleStep = -1; }

void BattleExit()
{
    g_nBattleStep = 0;
    g_nScene = 1;
}

bool BattleMain()
{
    switch (g_nBattleStep) {
    case -1:
        BattleExit();
        return true;
    case 0:
        if (!BattleSetup()) return false;
        g_nBattleStep = 1;
        BattleFrame();
        return true;
    case 1:
        BattleFrame();
        return true;
    default:
        return true;
    }
}
