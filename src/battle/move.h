// Movement: steering, rolling and the ready-phase shuffle.
#pragma once
#include <cstdint>

#include "battle/chara.h"
#include "input/input.h"

// Sets nAccelX/Y from a keypad direction (1..9, anything else is none); changes nothing else.
void Accelerate(CHARA* lpChara, int32_t nDir);
// Replaces the velocity from the input's direction, without inertia.
void SteerDirect(CHARA* lpChara, const INPUTSTATE* lpInput);
// One fight-phase step.
void MoveFighter(const INPUTSTATE* lpInput, CHARA* lpChara);
// One ready-phase step; nNum selects the start corner the fighter stays near.
void MoveReady(const INPUTSTATE* lpInput, CHARA* lpChara, int32_t nNum);
