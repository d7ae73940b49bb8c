// The key assignment record, its file and the reader it drives.
#include <array>
#include <cstdio>
#include <cstring>

#include "app/byte_order.h"
#include "input/input.h"
#include "platform/plat_file.h"

KEYMAP g_KeyMap;

namespace {

struct JOYPOLL {
    bool bOk;
    PlatJoy Info;
};

// An entry is down only when its device was polled; entries naming a joystick the record
// does not poll (or cannot: beyond KEY_MAX_JOY) are never down.
bool EntryDown(const KEYBIND& bind, const JOYPOLL* lpJoys, uint32_t nPolled, bool bAxes) {
    if (bind.nDevice == KEY_DEVICE_KEYBOARD) return Plat_KeyDown(bind.wCode);
    if (bind.nDevice >= nPolled || !lpJoys[bind.nDevice].bOk) return false;
    const PlatJoy& joy = lpJoys[bind.nDevice].Info;
    return (bAxes && JoyAxisTest(&joy, bind.wCode)) || (joy.dwButtons & bind.wCode) != 0;
}

}  // namespace

void KeyMapEncode(const KEYMAP* lpKeyMap, uint8_t lpBytes[KEYMAP_FILE_SIZE]) {
    uint8_t* p = lpBytes;
    for (const KEYPLAYER& player : lpKeyMap->Player) {
        for (const KEYBIND& bind : player.Bind) {
            PutLe32(p, bind.nDevice);
            PutLe32(p + 4, uint32_t(bind.wCode) | uint32_t(bind.wPad) << 16);
            p += 8;
        }
        PutLe32(p, player.nCount);
        p += 4;
    }
    PutLe32(p, lpKeyMap->nJoyCount);
    PutLe32(p + 4, lpKeyMap->bCustom);
}

void KeyMapDecode(const uint8_t* lpBytes, uint32_t nBytes, KEYMAP* lpKeyMap) {
    std::array<uint8_t, KEYMAP_FILE_SIZE> image;
    KeyMapEncode(lpKeyMap, image.data());
    std::memcpy(image.data(), lpBytes, nBytes < KEYMAP_FILE_SIZE ? nBytes : KEYMAP_FILE_SIZE);
    const uint8_t* p = image.data();
    for (KEYPLAYER& player : lpKeyMap->Player) {
        for (KEYBIND& bind : player.Bind) {
            bind.nDevice = Le32(p);
            bind.wCode = uint16_t(Le32(p + 4));
            bind.wPad = uint16_t(Le32(p + 4) >> 16);
            p += 8;
        }
        player.nCount = Le32(p);
        p += 4;
    }
    lpKeyMap->nJoyCount = Le32(p);
    lpKeyMap->bCustom = Le32(p + 4);
}

uint32_t LoadKeyFile(const char* szFile, KEYMAP* lpKeyMap) {
    std::FILE* lpFile = Plat_FileOpen(szFile, "rb");
    if (!lpFile) return 0;
    uint8_t bytes[KEYMAP_FILE_SIZE];
    size_t nRead = std::fread(bytes, 1, sizeof bytes, lpFile);
    std::fclose(lpFile);
    KeyMapDecode(bytes, uint32_t(nRead), lpKeyMap);
    return 1;
}

void SetDefaultKeyMap(KEYMAP* lpKeyMap) {
    static constexpr uint16_t kCodes[2][8] = {
        {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', 'V'},
        {JOY_X_LOW, JOY_X_HIGH, JOY_Y_LOW, JOY_Y_HIGH, 1, 2, 4, 8},
    };
    static constexpr uint32_t kDevices[2] = {KEY_DEVICE_KEYBOARD, 0};
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < 8; ++i) lpKeyMap->Player[p].Bind[i] = KEYBIND{kDevices[p], kCodes[p][i], 0};
        lpKeyMap->Player[p].nCount = 8;
    }
    lpKeyMap->nJoyCount = 2;
    lpKeyMap->bCustom = 0;
}

bool JoyAxisTest(const PlatJoy* lpInfo, uint16_t wCode) {
    switch (wCode) {
        case JOY_X_LOW:
            return lpInfo->dwX <= JOY_AXIS_LOW;
        case JOY_X_HIGH:
            return lpInfo->dwX >= JOY_AXIS_HIGH;
        case JOY_Y_LOW:
            return lpInfo->dwY <= JOY_AXIS_LOW;
        case JOY_Y_HIGH:
            return lpInfo->dwY >= JOY_AXIS_HIGH;
        default:
            return false;
    }
}

uint32_t InputReadMapped(INPUTSTATE* lpInput, int32_t nPlayers) {
    if (g_KeyMap.bCustom == 0) return 0;
    std::array<JOYPOLL, KEY_MAX_JOY> joys{};
    uint32_t nPolled = g_KeyMap.nJoyCount < KEY_MAX_JOY ? g_KeyMap.nJoyCount : KEY_MAX_JOY;
    for (uint32_t j = 0; j < nPolled; ++j) joys[j].bOk = Plat_JoyRead(int(j), &joys[j].Info);

    if (nPlayers > 2) nPlayers = 2;
    for (int32_t p = 0; p < nPlayers; ++p) {
        INPUTSTATE& r = lpInput[p];
        const KEYPLAYER& player = g_KeyMap.Player[p];
        r.nDir = 5;
        r.wDir = 0;
        r.wButton = 0;
        auto down = [&](int i, bool bAxes) { return EntryDown(player.Bind[i], joys.data(), nPolled, bAxes); };
        if (down(0, true)) {
            r.nDir -= 1;
            r.wDir |= DIR_LEFT;
        } else if (down(1, true)) {
            r.nDir += 1;
            r.wDir |= DIR_RIGHT;
        }
        if (down(2, true)) {
            r.nDir -= 3;
            r.wDir |= DIR_UP;
        } else if (down(3, true)) {
            r.nDir += 3;
            r.wDir |= DIR_DOWN;
        }
        // Never past the eight entries a block holds, whatever the file's count says.
        uint32_t nCount = player.nCount < 8 ? player.nCount : 8;
        for (uint32_t i = 0; i + 4 < nCount; ++i)
            if (down(int(4 + i), false)) r.wButton |= uint16_t(1 << i);
    }
    return 1;
}
