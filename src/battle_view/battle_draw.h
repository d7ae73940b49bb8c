// Battle drawing: everything the battle puts into the back buffer, phase by phase.
#pragma once
#include <cstdint>

struct CHARA;

// Palette cycling of entries 7..15: frame counter and rotation step.
extern int32_t g_nCycleCount;
extern int32_t g_nCycleStep;

struct STATEBUF;
// Saves or restores the palette cycle's counter and step.
void BattleDrawStateIo(STATEBUF* lpBuf);

// The fighter's body and aura. bStill: no rotation (outside the fight); bShow: never invisible.
void DrawFighter(CHARA* lpChara, bool bStill, bool bShow);
// Steps the body animation, then draws the clones and afterimages of the three slots.
void DrawSkillImages(CHARA* lpChara);
void DrawTraps(CHARA* lpChara);
void DrawShots(CHARA* lpChara);
// Blacks the whole screen out while the fighter runs shade.
void DrawShade(CHARA* lpChara);
// Steps the gauge animation and draws its flash at the body's corner.
void DrawGaugeFlash(CHARA* lpChara);
// One frame of the knock-out burst; true once the shared fall counter reached 160.
bool DrawKOBurst(CHARA* lpChara);
void DrawEffects();
void DrawWins();
void DrawGaugeStocks();
// The winner's sign; true once the phase counter reached 255.
bool DrawMatchResult();
void BattlePaletteCycle();
// The arena background, opaque over the whole screen.
void DrawBackground();
// The whole fight-phase picture in its fixed order; everything before the shade is hidden by it.
void DrawFightPhase();
// Phase signs: the ready sign (nRow 0) and the go sign (nRow 1) in the middle of the screen.
void DrawPhaseSign(int32_t nRow);
