#include "sound/sound.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/debug_trace.h"
#include "platform/plat_audio.h"
#include "sound/sound_frame.h"

SOUNDGROUP g_Sound[SND_COUNT];
DSDEVICE* g_lpDS = nullptr;

const std::array<SOUNDTABLE, SND_COUNT> g_SoundTable = {{
    {"wav/カーソル移動.wav", 4, -500},
    {"wav/決定.wav", 2, 0},
    {"wav/キャンセル.wav", 2, -500},
    {"wav/エラー.wav", 2, -1000},
    {"wav/GO.wav", 1, 0},
    {"wav/スキル.wav", 2, -1000},
    {"wav/衝突＿小.wav", 1, -500},
    {"wav/衝突＿小2.wav", 1, -500},
    {"wav/衝突＿中.wav", 1, 0},
    {"wav/衝突＿大.wav", 1, 0},
    {"wav/アタック.wav", 1, 0},
    {"wav/シールド.wav", 1, 0},
    {"wav/メタル.wav", 1, 0},
    {"wav/ブースト.wav", 1, 0},
    {"wav/反射.wav", 1, 0},
    {"wav/ショット.wav", 1, 0},
    {"wav/トラップ.wav", 1, 0},
    {"wav/死.wav", 1, 0},
}};

namespace {

constexpr int32_t kMaxBuffers = 4;

void TraceFile(const char* szFormat, const char* szFile) {
    char szText[400];
    std::snprintf(szText, sizeof szText, szFormat, szFile);
    DebugTrace(szText);
}

// The group's number in g_Sound, for the buffers' labels; -1 for a group elsewhere.
int GroupNumber(const SOUNDGROUP* lpGroup) {
    if (lpGroup >= g_Sound && lpGroup < g_Sound + SND_COUNT) return int(lpGroup - g_Sound);
    return -1;
}

bool BufferIndexValid(const SOUNDGROUP* lpGroup, int32_t nIndex) {
    return lpGroup && lpGroup->lpBuffer && nIndex >= 0 && nIndex < lpGroup->nCount &&
           lpGroup->lpBuffer[nIndex];
}

// What the device can take: PCM of 8 or 16 bits, 1 or 2 channels, a sane rate, whole frames.
bool WaveFormatUsable(const WAVEDATA& wave) {
    const PlatWaveFormat& f = wave.Format;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nChannels < 1 || f.nChannels > 2) return false;
    if (f.nSamplesPerSec < 1000 || f.nSamplesPerSec > 192000) return false;
    if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
    return wave.dwSize >= f.nBlockAlign;
}

// A group that failed half-way gives back what it made and stays empty (lpBuffer null),
// so it is not taken for a built group later. Returns false for the caller to pass on.
bool EmptyGroup(SOUNDGROUP* lpGroup) {
    DSReleaseBufferGroup(lpGroup);
    std::memset(lpGroup, 0, sizeof *lpGroup);
    return false;
}

}  // namespace

bool DS_Init(void*, uint32_t nRate, uint16_t nBits, int16_t nChannels) {
    if (g_lpDS) return true;
    if (nChannels < 1 || !Plat_AudioInit(nRate, nBits, uint16_t(nChannels))) {
        DebugTrace("DIRECTSOUNDCREATE_ERR!");
        return false;
    }
    g_lpDS = new DSDEVICE{nRate, nBits, uint16_t(nChannels)};
    return true;
}

void DS_Release() {
    if (!g_lpDS) return;
    for (SOUNDGROUP& group : g_Sound) DSReleaseBufferGroup(&group);
    Plat_AudioQuit();
    delete g_lpDS;
    g_lpDS = nullptr;
}

uint32_t DSCreateBufferGroup(SOUNDGROUP* lpGroups, const SOUNDTABLE* lpTable) {
    for (int i = 0; i < SND_COUNT; ++i) {
        if (lpGroups[i].lpBuffer) continue;
        if (!DSCreateBufferGropeFromFile(&lpGroups[i], lpTable[i].szFile, lpTable[i].nCount,
                                         lpTable[i].nVolume)) {
            DebugTrace("DSCreateBufferGropeFromFile失敗！");
            return 0;
        }
    }
    return 1;
}

bool DSCreateBufferGropeFromFile(SOUNDGROUP* lpGroup, const char* szFile, uint32_t nCount, int32_t nVolume) {
    if (!g_lpDS) return true;
    // A count outside 1..4 is refused before anything is made.
    std::memset(lpGroup, 0, sizeof *lpGroup);
    if (nCount < 1 || nCount > uint32_t(kMaxBuffers)) {
        TraceFile("%sのメモリ確保失敗！", szFile);
        return false;
    }
    lpGroup->lpBuffer = new (std::nothrow) PlatSound*[nCount]();
    if (!lpGroup->lpBuffer) {
        TraceFile("%sのメモリ確保失敗！", szFile);
        return false;
    }
    // nCount is set before the buffers exist so that a failure can release what was made.
    lpGroup->nCount = int32_t(nCount);
    if (!DSCreateBufferFromFile(lpGroup->lpBuffer, szFile)) return EmptyGroup(lpGroup);
    int nGroup = GroupNumber(lpGroup);
    Plat_SoundSetLabel(lpGroup->lpBuffer[0], nGroup, 0);
    for (uint32_t i = 1; i < nCount; ++i) {
        if (!DSDuplicateBuffer(&lpGroup->lpBuffer[i], lpGroup->lpBuffer[0])) {
            TraceFile("%sのメモリ共用バッファの生成失敗！", szFile);
            return EmptyGroup(lpGroup);
        }
        Plat_SoundSetLabel(lpGroup->lpBuffer[i], nGroup, int(i));
    }
    std::snprintf(lpGroup->szName, sizeof lpGroup->szName, "%s", szFile);
    if (nVolume != 0)
        for (uint32_t i = 0; i < nCount; ++i) DSSetVolume(lpGroup, int32_t(i), nVolume, 0);
    return true;
}

void DSReleaseBufferGroup(SOUNDGROUP* lpGroup) {
    if (!g_lpDS || !lpGroup->lpBuffer) return;
    for (int32_t i = 1; i < lpGroup->nCount; ++i) {
        if (lpGroup->lpBuffer[i]) {
            Plat_SoundRelease(lpGroup->lpBuffer[i]);
            lpGroup->lpBuffer[i] = nullptr;
        }
    }
    if (lpGroup->lpBuffer[0]) Plat_SoundRelease(lpGroup->lpBuffer[0]);
    delete[] lpGroup->lpBuffer;
    lpGroup->lpBuffer = nullptr;
}

void DSPlay(SOUNDGROUP* lpGroup, int32_t dwFlags) {
    if (!g_lpDS || !lpGroup || !lpGroup->lpBuffer || lpGroup->nCount <= 0) return;
    if (!DSFrameAllows(lpGroup >= g_Sound && lpGroup < g_Sound + SND_COUNT ? int32_t(lpGroup - g_Sound) : -1))
        return;
    if (lpGroup->nNext < 0 || lpGroup->nNext >= lpGroup->nCount) lpGroup->nNext = 0;
    PlatSound* lpBuffer = lpGroup->lpBuffer[lpGroup->nNext];
    if (lpBuffer) {
        Plat_SoundStop(lpBuffer);
        Plat_SoundRewind(lpBuffer);
        Plat_SoundPlay(lpBuffer, (dwFlags & 1) != 0);  // bit 0: loop
    }
    if (++lpGroup->nNext >= lpGroup->nCount) lpGroup->nNext = 0;
}

int32_t DSSetVolume(SOUNDGROUP* lpGroup, int32_t nIndex, int32_t nVolume, uint8_t bRelative) {
    if (!g_lpDS || !BufferIndexValid(lpGroup, nIndex)) return 0;
    // Summed wide so that a relative change cannot overflow before the clamp.
    int64_t nTarget = nVolume;
    if (bRelative == 1) nTarget += DSGetVolume(lpGroup, nIndex);
    if (nTarget < -10000) nTarget = -10000;
    if (nTarget > 0) nTarget = 0;
    Plat_SoundSetVolume(lpGroup->lpBuffer[nIndex], int32_t(nTarget));
    return int32_t(nTarget);
}

int32_t DSGetVolume(SOUNDGROUP* lpGroup, int32_t nIndex) {
    if (!g_lpDS || !BufferIndexValid(lpGroup, nIndex)) return 0;
    return Plat_SoundGetVolume(lpGroup->lpBuffer[nIndex]);
}

bool DSCreateBufferFromFile(PlatSound** lpBuffers, const char* szFile) {
    if (!g_lpDS) return true;
    WAVEDATA wave{};
    if (!DSReadWaveFile(szFile, &wave)) {
        TraceFile("%s読み込み失敗！", szFile);
        return false;
    }
    PlatSound* lpSound = nullptr;
    if (WaveFormatUsable(wave)) {
        // Only whole frames go to the device.
        uint32_t dwBytes = wave.dwSize - wave.dwSize % wave.Format.nBlockAlign;
        lpSound = Plat_SoundCreate(wave.Format, wave.lpData, dwBytes);
    }
    DSFreeWave(&wave);
    if (!lpSound) {
        TraceFile("%s生成失敗！", szFile);
        return false;
    }
    lpBuffers[0] = lpSound;
    return true;
}

void DSFreeWave(WAVEDATA* lpWave) {
    delete[] lpWave->lpData;
    lpWave->lpData = nullptr;
    lpWave->dwSize = 0;
}

bool DSDuplicateBuffer(PlatSound** lplpOut, PlatSound* lpSource) {
    if (!g_lpDS) return true;
    *lplpOut = Plat_SoundDuplicate(lpSource);
    return *lplpOut != nullptr;
}
