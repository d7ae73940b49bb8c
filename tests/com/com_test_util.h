// Shared set-up for the COM tests.
#pragma once
#include <cstdint>

#include "battle/chara.h"
#include "input/input.h"

// A 32 x 32 fighter centred at (nCx, nCy) pixels, at rest, with acceleration nSpeed per frame.
inline CHARA MakeFighter(int32_t nCx, int32_t nCy, int32_t nSpeed = 23) {
    CHARA c{};
    c.chr.nSpeed = nSpeed;
    c.chr.nWeight = 60;
    c.box.nWidth = c.box.nHeight = 32;
    c.box.nWidthShift = c.box.nHeightShift = 5;
    c.box.nX = (nCx - 15) * 1024;
    c.box.nY = (nCy - 15) * 1024;
    BoxUpdate(&c.box);
    return c;
}

// The generator's next state and draw, by its published formula.
inline uint32_t LcgNext(uint32_t s) {
    return s * 214013u + 2531011u;
}
inline int LcgDraw(uint32_t s) {
    return int((LcgNext(s) >> 16) & 0x7FFF);
}
inline uint32_t LcgSkip(uint32_t s, int n) {
    while (n-- > 0) s = LcgNext(s);
    return s;
}
