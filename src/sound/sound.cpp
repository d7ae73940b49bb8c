#include "sound/sound.h"

#include "platform/plat_audio.h"

SOUNDGROUP g_Sound[SND_COUNT];

void DSPlay(SOUNDGROUP* lpGroup, int32_t dwFlags) {
    if (!lpGroup || !lpGroup->lpBuffer || lpGroup->nCount <= 0) return;
    if (lpGroup->nNext < 0 || lpGroup->nNext >= lpGroup->nCount) lpGroup->nNext = 0;
    PlatSound* lpBuffer = lpGroup->lpBuffer[lpGroup->nNext];
    Plat_SoundStop(lpBuffer);
    Plat_SoundRewind(lpBuffer);
    Plat_SoundPlay(lpBuffer, dwFlags == 1);
    lpGroup->nNext = (lpGroup->nNext + 1) % lpGroup->nCount;
}
