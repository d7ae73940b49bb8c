// Shared set-up for the COM tests.
#pragma once
#include <cstdint>

#include "battle/chara.h"
#include "input/input.h"
#include "support/fighter.h"
#include "support/lcg.h"

// A 32 x 32 fighter centred at (nCx, nCy) pixels, at rest, with acceleration nSpeed per frame.
inline CHARA MakeFighter(int32_t nCx, int32_t nCy, int32_t nSpeed = 23) {
    CHARA c = Fighter(nCx - 15, nCy - 15);
    c.chr.nSpeed = nSpeed;
    return c;
}
