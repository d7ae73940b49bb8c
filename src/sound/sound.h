// Sound groups: each sound is loaded once into one to four buffers that play round robin.
#pragma once
#include <cstdint>

struct PlatSound;

struct SOUNDGROUP {
    char szName[260];       // the WAV file the group was made from
    PlatSound** lpBuffer;   // nCount buffers; entry 0 holds the sound, the rest share it
    int32_t nCount;         // 1..4
    int32_t nNext;          // buffer the next play uses
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

extern SOUNDGROUP g_Sound[SND_COUNT];

// Plays the group's next buffer (stopped and rewound first); dwFlags 1 loops.
void DSPlay(SOUNDGROUP* lpGroup, int32_t dwFlags);
