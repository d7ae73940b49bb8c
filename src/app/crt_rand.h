// The program's one random generator: the C runtime's linear congruential generator.
// The state starts at 1 and is never reseeded, so every run draws the same sequence;
// the number and order of the draws are part of the game's behaviour.
#pragma once
#include <cstdint>

// Next number, 0..32767: state = state * 214013 + 2531011; result = (state >> 16) & 0x7FFF.
int CrtRand();
// The generator's state, for tests and replays.
uint32_t CrtRandState();
void CrtRandSetState(uint32_t dwState);

struct STATEBUF;
// Saves or restores the generator's state.
void RandStateIo(STATEBUF* lpBuf);
