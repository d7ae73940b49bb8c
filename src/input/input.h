// The per-player input records, menu filters and cursors, and the key assignment record.
#pragma once
#include <cstdint>

#include "platform/plat_input.h"

struct INPUTSTATE {
    uint16_t wDir;     // 0x1 left, 0x2 right, 0x4 up, 0x8 down
    uint16_t wButton;  // bit n: button n+1
    uint16_t wDirLog;  // repeat filter history
    int32_t nDir;      // keypad number 1..9, 5 neutral
    uint32_t nRepeatX;
    uint32_t nRepeatY;
    uint32_t bButtonHold;
    uint16_t wJoyButton[4];
};

struct CURSOR {
    int32_t nCol, nRow;
    int32_t nX, nY;
    int32_t nChosen, nDecided;
};

extern INPUTSTATE g_Input[2];
extern CURSOR g_Cursor[2];

struct STATEBUF;

// The raw input word: one player's read of one frame, as the devices gave it, before any
// filter. It is what a frame needs of a player and what travels between machines.
//   bits 0..3   direction, as wDir: 0x1 left, 0x2 right, 0x4 up, 0x8 down
//   bits 4..7   buttons 1..4, as wButton bits 0..3
//   bits 8..30  zero (ignored when applied)
//   bit 31      INPUT_RAW_NONE: the player was not read this frame; the record keeps what it
//               holds (player 2 outside two-player play, a joystick that is not there)
// nDir follows from the directions: 5, -1 left, +1 right, -3 up, +3 down.
enum : uint32_t {
    INPUT_RAW_DIR_MASK = 0x0F,
    INPUT_RAW_BUTTON_SHIFT = 4,
    INPUT_RAW_BUTTON_MASK = 0xF0,
    INPUT_RAW_NONE = 0x80000000u,
};
// The word of a record just read.
uint32_t InputRawPack(const INPUTSTATE* lpInput);
// Writes wDir, nDir and wButton of the word into the record; INPUT_RAW_NONE changes nothing.
void InputRawApply(uint32_t dwRaw, INPUTSTATE* lpInput);
// Saves or restores both input records (with their filter histories) and both cursors.
void InputStateIo(STATEBUF* lpBuf);

// nMode bits of InputRead.
enum { INPUT_JOY = 0x1, INPUT_KEY = 0x2 };
// Direction bits of wDir.
enum { DIR_LEFT = 0x1, DIR_RIGHT = 0x2, DIR_UP = 0x4, DIR_DOWN = 0x8 };
// Button bits of wButton. In menus button 1 decides and button 2 cancels.
enum { BUTTON_1 = 0x1, BUTTON_2 = 0x2, BUTTON_3 = 0x4, BUTTON_4 = 0x8 };
// A joystick axis (0..65535) counts as pushed within 10000 of either end.
constexpr uint32_t JOY_AXIS_LOW = 10000;
constexpr uint32_t JOY_AXIS_HIGH = 65535 - 10000;

// Fixed reader: joystick nJoy and/or the keyboard into one record. 0 when the key map is in force.
uint32_t InputRead(INPUTSTATE* lpInput, uint32_t nJoy, uint8_t nMode);
// Joysticks answering, counted from 0 up to the first that does not: 0, 1 or 2.
int32_t CountJoysticks();
void SetJoyButtonMask(uint16_t wMask[4]);
// Menu filters: held directions become presses with auto-repeat; buttons pass once per press.
void InputRepeat(INPUTSTATE* lpInput);
void InputTrigger(INPUTSTATE* lpInput);
void CursorMove(INPUTSTATE* lpInput, CURSOR* lpCursor, int32_t nStepX, int32_t nStepY, int32_t nOrgX,
                int32_t nOrgY, int32_t nMaxCol, int32_t nMaxRow);
void CursorReset(CURSOR* lpCursor);
// Plays sound nSound once per pressed axis selected by nAxisMask (bit 0 horizontal, bit 1 vertical).
void PlayCursorSound(INPUTSTATE* lpInput, uint8_t nAxisMask, int32_t nSound);

// ---- key assignment ----

enum { KEY_DEVICE_KEYBOARD = 8 };
// Joystick axis codes of KEYBIND::wCode.
enum { JOY_X_LOW = 256, JOY_X_HIGH = 512, JOY_Y_LOW = 1024, JOY_Y_HIGH = 2048 };
// Most joysticks the mapped reader polls, whatever the file asks for.
constexpr uint32_t KEY_MAX_JOY = 16;

struct KEYBIND {
    uint32_t nDevice;  // 8 keyboard, else joystick id
    uint16_t wCode;    // virtual-key code, axis code or joystick button mask
    uint16_t wPad;
};

// One player's block: left, right, up, down, buttons 1..4.
struct KEYPLAYER {
    KEYBIND Bind[8];
    uint32_t nCount;  // entries in use, 4..8
};

// Memory image of "user_data/CustomKey.dat": 144 bytes, little-endian.
struct KEYMAP {
    KEYPLAYER Player[2];
    uint32_t nJoyCount;  // joysticks polled by the mapped reader
    uint32_t bCustom;    // 0: fixed reader; else this record
};
static_assert(sizeof(KEYMAP) == 144, "KEYMAP must match the 144-byte key file");
constexpr uint32_t KEYMAP_FILE_SIZE = 144;

extern KEYMAP g_KeyMap;

// Reads up to 144 bytes over the record. 0 when the file cannot be opened.
uint32_t LoadKeyFile(const char* szFile, KEYMAP* lpKeyMap);
void SetDefaultKeyMap(KEYMAP* lpKeyMap);
// Mapped reader for records lpInput[0..nPlayers-1]. 0 when the key map is not in force.
uint32_t InputReadMapped(INPUTSTATE* lpInput, int32_t nPlayers);
bool JoyAxisTest(const PlatJoy* lpInfo, uint16_t wCode);

// The file image: nBytes (up to 144) of lpBytes laid over the record; the rest keeps its value.
void KeyMapDecode(const uint8_t* lpBytes, uint32_t nBytes, KEYMAP* lpKeyMap);
void KeyMapEncode(const KEYMAP* lpKeyMap, uint8_t lpBytes[KEYMAP_FILE_SIZE]);
