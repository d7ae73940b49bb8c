// The player's settings record, its file image, and the battle mode of the game in progress.
#pragma once
#include <array>
#include <cstdint>

// Memory image of "user_data/Option.dat": 40 bytes, little-endian, padding kept as read.
struct OPTIONDATA {
    int32_t nWinCount;    // wins needed, 1..5
    int32_t nDefense[3];  // by controller: 0 player 1, 1 player 2, 2 COM; 1..5
    int32_t nComLevel;    // 0..4
    int32_t nPad0;        // padding, written as read
    double dGameSpeed;    // 1.0..20.0, whole numbers
    int32_t nBattleMode;  // BATTLE_*
    int32_t nPad1;        // padding, written as read
};
static_assert(sizeof(OPTIONDATA) == 40, "OPTIONDATA must match the 40-byte settings file");
constexpr uint32_t OPTION_FILE_SIZE = 40;

extern OPTIONDATA g_Option;
// Battle mode of the game being played (0..3); set by the title when a game starts.
extern int32_t g_nBattleMode;

enum { BATTLE_NORMAL = 0, BATTLE_TRICK = 1, BATTLE_SHOOTING = 2, BATTLE_SIMPLE = 3, BATTLE_MODES = 4 };

struct STATEBUF;
// Saves or restores the settings in force and the battle mode of the game in progress.
void OptionStateIo(STATEBUF* lpBuf);

// 3 wins, defences 3, COM normal, speed 1.0, normal battle, padding zero.
void SetDefaultOption(OPTIONDATA* lpOption);
// Reads up to 40 bytes over the record, values as they are. 0 when the file cannot be opened
// or read (a folder).
uint32_t LoadOptionFile(const char* szFile, OPTIONDATA* lpOption);
// Writes the 40 bytes. The old file is replaced only once the new one is complete. 0 on failure.
uint32_t SaveOptionFile(const char* szFile, const OPTIONDATA* lpOption);
// A replay runs: the options screen saves nothing (a record from outside must not change the
// player's settings file).
extern bool g_bSettingsReadOnly;

// The file image: nBytes (up to 40) of lpBytes laid over the record; the rest keeps its value.
void OptionDecode(const uint8_t* lpBytes, uint32_t nBytes, OPTIONDATA* lpOption);
void OptionEncode(const OPTIONDATA* lpOption, uint8_t lpBytes[OPTION_FILE_SIZE]);
