// Fighters built by hand for the rule, COM and drawing tests.
#pragma once
#include <cstdint>

#include "battle/chara.h"

// A 32 x 32 fighter at rest with its corner at (nPx, nPy) pixels: weight nWeight, rescaled
// speed 23, skill power 100, gauge cost 100, an empty gauge and every skill slot free.
inline CHARA Fighter(int32_t nPx, int32_t nPy, int32_t nNum = 0, int32_t nWeight = 60) {
    CHARA c{};
    c.nNum = c.nControl = nNum;
    c.chr = CHARACTER{"", 0, nWeight, 23, 100};
    c.box = BOX{32, 32, 5, 5, nPx * 1024, nPy * 1024, 0, 0, 0, 0, 0};
    BoxUpdate(&c.box);
    c.anmBody.lpAnimTable = &g_AnimSetBody;
    c.anmGauge.lpAnimTable = &g_AnimSetGauge;
    c.nGaugeCost = 100;
    return c;
}
