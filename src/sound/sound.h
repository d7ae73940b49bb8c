// Sound groups: each sound is loaded once into one to four buffers that play round robin.
#pragma once
#include <array>
#include <cstdint>

#include "platform/plat_audio.h"

struct SOUNDGROUP {
    char szName[260];      // the WAV file the group was made from
    PlatSound** lpBuffer;  // nCount buffers; entry 0 holds the sound, the rest share it
    int32_t nCount;        // 1..4
    int32_t nNext;         // buffer the next play uses
};

// Sound numbers: the index into g_Sound.
enum {
    SND_CURSOR = 0,    // wav/カーソル移動.wav
    SND_DECIDE = 1,    // wav/決定.wav
    SND_CANCEL = 2,    // wav/キャンセル.wav
    SND_ERROR = 3,     // wav/エラー.wav
    SND_GO = 4,        // wav/GO.wav
    SND_SKILL = 5,     // wav/スキル.wav
    SND_HIT_S = 6,     // wav/衝突＿小.wav
    SND_HIT_S2 = 7,    // wav/衝突＿小2.wav
    SND_HIT_M = 8,     // wav/衝突＿中.wav
    SND_HIT_L = 9,     // wav/衝突＿大.wav
    SND_ATTACK = 10,   // wav/アタック.wav (not played)
    SND_SHIELD = 11,   // wav/シールド.wav (not played)
    SND_METAL = 12,    // wav/メタル.wav (not played)
    SND_BOOST = 13,    // wav/ブースト.wav (not played)
    SND_REFLECT = 14,  // wav/反射.wav
    SND_SHOT = 15,     // wav/ショット.wav
    SND_TRAP = 16,     // wav/トラップ.wav
    SND_DEATH = 17,    // wav/死.wav
    SND_COUNT = 18,
};

// One row of the sound table: file, number of buffers, volume in hundredths of a dB.
struct SOUNDTABLE {
    const char* szFile;
    uint32_t nCount;
    int32_t nVolume;
};
extern const std::array<SOUNDTABLE, SND_COUNT> g_SoundTable;

struct WAVEDATA {
    PlatWaveFormat Format;  // the file's "fmt " chunk
    uint8_t* lpData;  // owned sample bytes; DSFreeWave frees them
    uint32_t dwSize;  // number of sample bytes
};

// The opened sound device; null when there is none.
struct DSDEVICE {
    uint32_t dwRate;
    uint16_t wBits;
    uint16_t wChannels;
};
extern DSDEVICE* g_lpDS;

extern SOUNDGROUP g_Sound[SND_COUNT];

// Opens the sound device with the given output format. hWnd is unused on this platform.
bool DS_Init(void* hWnd, uint32_t nRate, uint16_t nBits, int16_t nChannels);
// Releases every group and the device.
void DS_Release();

// Builds all 18 groups from the table (groups already built are skipped). 1 success, 0 failure.
uint32_t DSCreateBufferGroup(SOUNDGROUP* lpGroups, const SOUNDTABLE* lpTable);
bool DSCreateBufferGropeFromFile(SOUNDGROUP* lpGroup, const char* szFile, uint32_t nCount, int32_t nVolume);
void DSReleaseBufferGroup(SOUNDGROUP* lpGroup);

// Plays the group's next buffer (stopped and rewound first); dwFlags 1 loops.
void DSPlay(SOUNDGROUP* lpGroup, int32_t dwFlags);

// Sounds keyed by frame, for frames simulated again after a rollback. Once DSFrameBegin has
// been called, each play belongs to the frame begun last: the n-th play of a sound in a frame
// sounds only if that frame has not played it n times already, and a frame more than
// DS_LATE_FRAMES behind the newest one begun plays nothing new (late sounds are dropped, not
// played late). bSilent: this pass plays and counts nothing (a test's wrong guesses).
enum { DS_LATE_FRAMES = 4, DS_FRAME_HISTORY = 32 };
void DSFrameBegin(uint32_t dwFrame, bool bSilent);
// Back to playing every sound at once, forgetting the frames (the end of a session).
void DSFrameReset();

// Sets buffer nIndex's volume (bRelative 1: added to its current one), clamped to -10000..0.
// Returns the volume set.
int32_t DSSetVolume(SOUNDGROUP* lpGroup, int32_t nIndex, int32_t nVolume, uint8_t bRelative);
int32_t DSGetVolume(SOUNDGROUP* lpGroup, int32_t nIndex);

// Fills entry 0 of a buffer array from a WAV file.
bool DSCreateBufferFromFile(PlatSound** lpBuffers, const char* szFile);
// Reads a PCM WAV file. False for anything unreadable, damaged or not plain PCM.
bool DSReadWaveFile(const char* szFile, WAVEDATA* lpWave);
void DSFreeWave(WAVEDATA* lpWave);
bool DSDuplicateBuffer(PlatSound** lplpOut, PlatSound* lpSource);
