// The fighters' sprites.
#pragma once
#include "canvas.h"

// Fighter nId as an nSize-pixel sprite with its top-left at (x, y), looking toward player 1's
// start corner, or toward player 2's when bFacingPlayer2.
void PaintFighter(Canvas& cv, int nId, int x, int y, int nSize, bool bFacingPlayer2);
// The whole sprite sheet bmp/バトルキャラ.bmp.
Canvas PaintBattleChara();
