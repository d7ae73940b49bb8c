// The C runtime's generator written out from its published formula, so that tests know the
// draws the game must make without asking the game's own generator.
#pragma once
#include <cstdint>

// The state after n more draws.
inline uint32_t LcgSkip(uint32_t dwState, int n) {
    while (n-- > 0) dwState = dwState * 214013u + 2531011u;
    return dwState;
}

// Steps the state and returns the draw, 0..32767.
inline int LcgDraw(uint32_t& dwState) {
    dwState = LcgSkip(dwState, 1);
    return int((dwState >> 16) & 0x7FFF);
}
