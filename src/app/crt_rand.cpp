#include "app/crt_rand.h"

#include "app/state_buf.h"

namespace {
uint32_t g_dwRandState = 1;
}

int CrtRand() {
    g_dwRandState = g_dwRandState * 214013u + 2531011u;
    return int((g_dwRandState >> 16) & 0x7FFF);
}

uint32_t CrtRandState() {
    return g_dwRandState;
}
void CrtRandSetState(uint32_t dwState) {
    g_dwRandState = dwState;
}

void RandStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_dwRandState);
}
