// The battle scene: one match between g_Chara[0] and g_Chara[1], round by round.
#pragma once
#include <cstdint>

#include "battle/chara.h"

// Battle phases (values of g_nBattlePhase).
enum {
    PHASE_FADE_IN = 1,
    PHASE_READY = 2,
    PHASE_FIGHT = 3,
    PHASE_KNOCKOUT = 4,
    PHASE_MATCH_OVER = 5,
    PHASE_FADE_OUT = 6,
};

// g_nBattleStep, g_nBattlePhase, g_nFallCount and g_nPhaseCount live with the records in
// battle/chara.h.

// Per-frame entry of scene 2; false only when the battle's pictures could not be loaded.
bool BattleMain();
bool BattleSetup();
void RoundReset();
void BattleFrame();
// Release step: frees the battle pictures and hands over to character select.
void BattleExit();

struct STATEBUF;
// Saves or restores the battle's step, phase and counters, the sparks and the round's arena
// (restoring puts that arena on screen while the battle's pictures are loaded).
void BattleStateIo(STATEBUF* lpBuf);
