// The per-player input records and menu cursors.
#pragma once
#include <cstdint>

struct INPUTSTATE {
    uint16_t wDir;         // 0x1 left, 0x2 right, 0x4 up, 0x8 down
    uint16_t wButton;      // bit n: button n+1
    uint16_t wDirLog;      // repeat filter history
    int32_t nDir;          // keypad number 1..9, 5 neutral
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
