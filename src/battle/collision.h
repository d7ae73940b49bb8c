// Fighter-to-fighter collision and knock-back.
#pragma once
#include "battle/chara.h"

// Run once per fight frame while the two bodies overlap; lpA is player 1.
void FighterCollision(CHARA* lpA, CHARA* lpB);
