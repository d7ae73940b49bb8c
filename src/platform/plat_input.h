// Platform layer: keyboard and joysticks, as the state of this moment.
#pragma once
#include <cstdint>
#include <string>

// Windows virtual-key codes, the game's key numbering on every platform.
enum {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    // '0'..'9' are 48..57 and 'A'..'Z' are 65..90.
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F12 = 123,
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
    VK_OEM_1 = 186,
    VK_OEM_PLUS = 187,
    VK_OEM_COMMA = 188,
    VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190,
    VK_OEM_2 = 191,
    VK_OEM_3 = 192,
    VK_OEM_4 = 219,
    VK_OEM_5 = 220,
    VK_OEM_6 = 221,
    VK_OEM_7 = 222,
};

// True while the key with virtual-key code nVk (0..255) is down.
bool Plat_KeyDown(int nVk);

// A joystick as the game reads it: the left stick with the D-pad folded in, and the buttons in
// the standard layout for pads of a known layout (see platform/pad_fold.h).
struct PlatJoy {
    uint32_t dwX;        // 0..65535, 32767 at rest
    uint32_t dwY;        // 0..65535, 32767 at rest
    uint32_t dwButtons;  // bit n: button n+1 down
};
// Reads joystick nId: the connected devices count from 0 in the order they were plugged in, and
// those after a device pulled out move up. False when it is not there.
bool Plat_JoyRead(int nId, PlatJoy* lpJoy);

// Watching a recording in the window: the keys and joysticks 0 and 1 read as given (a joystick's
// hat folded in as the backend folds a D-pad), until called with null (the real devices again).
struct PlatDeviceOverride {
    bool bKeys[256] = {};  // by virtual-key code
    bool bJoy[2] = {};     // connected
    PlatJoy Joy[2] = {};
    uint32_t dwHat[2] = {};
};
void Plat_OverrideDevices(const PlatDeviceOverride* lpDevices);

// What joystick nId is, for listing the devices (the SDL backend has it). False when not there.
struct PlatJoyInfo {
    std::string szName;
    bool bStandard = false;  // buttons in the standard layout
    bool bDpad = false;      // has a D-pad or hat that steers
    uint32_t dwButtons = 0;  // buttons it has, as the game numbers them (bit n = button n+1)
};
bool Plat_JoyInfo(int nId, PlatJoyInfo* lpInfo);
