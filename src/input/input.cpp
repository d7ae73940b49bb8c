#include "input/input.h"

#include "app/state_buf.h"
#include "sound/sound.h"

INPUTSTATE g_Input[2];
CURSOR g_Cursor[2];

namespace {

// The fixed keyboard layout: left, right, up, down, then buttons 1..4.
constexpr int kDirKeys[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
constexpr int kButtonKeys[4] = {'Z', 'X', 'C', 'V'};

bool JoyQuery(uint32_t nJoy, PlatJoy* lpJoy) {
    return nJoy < KEY_MAX_JOY && Plat_JoyRead(int(nJoy), lpJoy);
}

}  // namespace

uint32_t InputRead(INPUTSTATE* lpInput, uint32_t nJoy, uint8_t nMode) {
    if (g_KeyMap.bCustom != 0) return 0;
    bool bJoyDir = false, bJoyButton = false;
    PlatJoy joy{};
    if (JoyQuery(nJoy, &joy) && (nMode & INPUT_JOY)) {
        lpInput->nDir = 5;
        lpInput->wDir = 0;
        if (joy.dwX <= JOY_AXIS_LOW) {
            lpInput->nDir = 4;
            lpInput->wDir = DIR_LEFT;
        } else if (joy.dwX >= JOY_AXIS_HIGH) {
            lpInput->nDir = 6;
            lpInput->wDir = DIR_RIGHT;
        }
        if (joy.dwY <= JOY_AXIS_LOW) {
            lpInput->nDir -= 3;
            lpInput->wDir |= DIR_UP;
        } else if (joy.dwY >= JOY_AXIS_HIGH) {
            lpInput->nDir += 3;
            lpInput->wDir |= DIR_DOWN;
        }
        bJoyDir = lpInput->nDir != 5;
        lpInput->wButton = 0;
        for (int i = 0; i < 4; ++i)
            if (joy.dwButtons & lpInput->wJoyButton[i]) lpInput->wButton |= uint16_t(1 << i);
        bJoyButton = lpInput->wButton != 0;
    }
    if (!(nMode & INPUT_KEY)) return 1;
    if (!bJoyDir) {
        static constexpr int kStep[4] = {-1, 1, -3, 3};
        lpInput->nDir = 5;
        lpInput->wDir = 0;
        for (int i = 0; i < 4; ++i) {
            if (Plat_KeyDown(kDirKeys[i])) {
                lpInput->nDir += kStep[i];
                lpInput->wDir |= uint16_t(1 << i);
            }
        }
    }
    if (!bJoyButton) {
        lpInput->wButton = 0;
        for (int i = 0; i < 4; ++i)
            if (Plat_KeyDown(kButtonKeys[i])) lpInput->wButton |= uint16_t(1 << i);
    }
    return 1;
}

int32_t CountJoysticks() {
    PlatJoy joy;
    int32_t nCount = 0;
    while (nCount < 2 && Plat_JoyRead(nCount, &joy)) ++nCount;
    return nCount;
}

void SetJoyButtonMask(uint16_t wMask[4]) {
    for (int i = 0; i < 4; ++i) wMask[i] = uint16_t(1 << i);
}

void InputRepeat(INPUTSTATE* lpInput) {
    uint16_t wRaw = lpInput->wDir;
    uint16_t wLog = uint16_t(lpInput->wDirLog << 4 | wRaw);
    uint16_t wPrev = (wLog >> 4) & 0xF;
    lpInput->wDirLog = wLog;
    // Each axis passes on the frame it changes, then every 8 frames from the 24th held.
    struct {
        uint16_t wMask;
        uint32_t* lpRepeat;
    } axes[2] = {{0x3, &lpInput->nRepeatX}, {0xC, &lpInput->nRepeatY}};
    for (auto& axis : axes) {
        if ((wPrev & axis.wMask) == (wRaw & axis.wMask)) {
            uint32_t n = ++*axis.lpRepeat;
            if (!(n >= 20 && n % 8 == 0)) lpInput->wDir &= uint16_t(~axis.wMask);
        } else {
            *axis.lpRepeat = 0;
        }
    }
}

void InputTrigger(INPUTSTATE* lpInput) {
    uint32_t bHeld = lpInput->bButtonHold;
    uint16_t wRaw = lpInput->wButton;
    if (bHeld == 1 && wRaw != 0) lpInput->wButton = 0;
    if (bHeld == 0 && (lpInput->wButton & 0xF)) {
        lpInput->bButtonHold = 1;
        return;
    }
    if (wRaw == 0)
        lpInput->bButtonHold = 0;
    else
        lpInput->wButton = 0;
}

void CursorMove(INPUTSTATE* lpInput, CURSOR* lpCursor, int32_t nStepX, int32_t nStepY, int32_t nOrgX,
                int32_t nOrgY, int32_t nMaxCol, int32_t nMaxRow) {
    if (nMaxCol < 0 || nMaxRow < 0) return;
    if (lpInput->wDir & DIR_LEFT)
        --lpCursor->nCol;
    else if (lpInput->wDir & DIR_RIGHT)
        ++lpCursor->nCol;
    if (lpInput->wDir & DIR_UP)
        --lpCursor->nRow;
    else if (lpInput->wDir & DIR_DOWN)
        ++lpCursor->nRow;
    if (lpCursor->nRow < 0)
        lpCursor->nRow = nMaxRow;
    else if (lpCursor->nRow > nMaxRow)
        lpCursor->nRow = 0;
    if (lpCursor->nCol < 0)
        lpCursor->nCol = nMaxCol;
    else if (lpCursor->nCol > nMaxCol)
        lpCursor->nCol = 0;
    lpCursor->nX = lpCursor->nCol * nStepX + nOrgX;
    lpCursor->nY = lpCursor->nRow * nStepY + nOrgY;
}

void CursorReset(CURSOR* lpCursor) {
    *lpCursor = CURSOR{};
}

void PlayCursorSound(INPUTSTATE* lpInput, uint8_t nAxisMask, int32_t nSound) {
    if (nSound < 0 || nSound >= SND_COUNT) return;
    if ((nAxisMask & 0x1) && (lpInput->wDir & (DIR_LEFT | DIR_RIGHT))) DSPlay(&g_Sound[nSound], 0);
    if ((nAxisMask & 0x2) && (lpInput->wDir & (DIR_UP | DIR_DOWN))) DSPlay(&g_Sound[nSound], 0);
}

uint32_t InputRawPack(const INPUTSTATE* lpInput) {
    return (lpInput->wDir & INPUT_RAW_DIR_MASK) |
           ((uint32_t(lpInput->wButton) << INPUT_RAW_BUTTON_SHIFT) & INPUT_RAW_BUTTON_MASK);
}

void InputRawApply(uint32_t dwRaw, INPUTSTATE* lpInput) {
    if (dwRaw & INPUT_RAW_NONE) return;
    const uint16_t wDir = uint16_t(dwRaw & INPUT_RAW_DIR_MASK);
    lpInput->wDir = wDir;
    lpInput->wButton = uint16_t((dwRaw & INPUT_RAW_BUTTON_MASK) >> INPUT_RAW_BUTTON_SHIFT);
    lpInput->nDir = 5 - ((wDir & DIR_LEFT) ? 1 : 0) + ((wDir & DIR_RIGHT) ? 1 : 0) -
                    ((wDir & DIR_UP) ? 3 : 0) + ((wDir & DIR_DOWN) ? 3 : 0);
}

void InputStateIo(STATEBUF* lpBuf) {
    // A new field of INPUTSTATE must be listed here too.
    static_assert(sizeof(INPUTSTATE) == 32);
    for (INPUTSTATE& in : g_Input) {
        StateField(lpBuf, in.wDir);
        StateField(lpBuf, in.wButton);
        StateField(lpBuf, in.wDirLog);
        StateField(lpBuf, in.nDir);
        StateField(lpBuf, in.nRepeatX);
        StateField(lpBuf, in.nRepeatY);
        StateField(lpBuf, in.bButtonHold);
        StateField(lpBuf, in.wJoyButton);
    }
    StateRecord(lpBuf, g_Cursor);
}
