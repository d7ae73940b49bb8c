// The battle scene: one match between g_Chara[0] and g_Chara[1], round by round.
#pragma once
#include <cstdint>

// Battle phases (values of g_nBattlePhase).
enum {
    PHASE_FADE_IN = 1,
    PHASE_READY = 2,
    PHASE_FIGHT = 3,
    PHASE_KNOCKOUT = 4,
    PHASE_MATCH_OVER = 5,
    PHASE_FADE_OUT = 6,
};

extern int32_t g_nBattleStep;   // 0 set-up pending, 1 running, -1 leaving
extern int32_t g_nBattlePhase;  // PHASE_*
extern int32_t g_nFallCount;    // knock-out burst radius, one counter for both fighters
extern int32_t g_nPhaseCount;   // ready phase frames (120), then go sign frames (60)

// Per-frame entry of scene 2; false only when the battle's pictures could not be loaded.
bool BattleMain();
bool BattleSetup();
void RoundReset();
void BattleFrame();
// Release step: frees the battle pictures and hands over to character select.
void BattleExit();
