// The player's settings record, its file image, and the battle mode of the game in progress.
#pragma once
#include <cstdint>

// Memory image of "user_data/Option.dat": 40 bytes, little-endian, padding kept as read.
struct OPTIONDATA {
    int32_t nWinCount;    // wins needed, 1..5
    int32_t nDefense[3];  // by controller: 0 player 1, 1 player 2, 2 COM; 1..5
    int32_t nComLevel;    // 0..4
    int32_t nPad0;        // padding, written as read
    double dGameSpeed;    // 1.0..20.0, whole numbers
    int32_t nBattleMode;  // 0 normal, 1 trick, 2 shooting, 3 simple
    int32_t nPad1;        // padding, written as read
};
static_assert(sizeof(OPTIONDATA) == 40, "OPTIONDATA must match the 40-byte settings file");

extern OPTIONDATA g_Option;
// Battle mode of the game being played (0..3); set by the title when a game starts.
extern int32_t g_nBattleMode;
