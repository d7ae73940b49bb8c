// Gamepads as the game sees them, the same on every backend. A backend reads the device its
// own way, then reports it through these rules:
// - position: the left stick, -32768..32767 scaled to 0..65535 (PadAxisPosition);
// - D-pad: a pressed direction is full deflection on its axis (0 or 65535), overriding the
//   stick there; a released D-pad leaves the stick's value (PadFold);
// - buttons of a pad with a known layout, in the game's numbering (bit n = button n+1):
//   1 south, 2 east, 3 west, 4 north, 5 left shoulder, 6 right shoulder, 7 back, 8 start,
//   9 left stick click, 10 right stick click, 11 guide. Other devices keep their own numbering.
// Plain C++ with no device library, so that every backend shares it.
#pragma once
#include <cstdint>

#include "platform/plat_input.h"

// D-pad directions as bits (the bit values SDL gives a joystick hat).
enum : uint32_t { PAD_HAT_UP = 0x1, PAD_HAT_RIGHT = 0x2, PAD_HAT_DOWN = 0x4, PAD_HAT_LEFT = 0x8 };

// The standard layout's buttons.
enum : uint32_t {
    PAD_SOUTH = 1u << 0,
    PAD_EAST = 1u << 1,
    PAD_WEST = 1u << 2,
    PAD_NORTH = 1u << 3,
    PAD_LEFT_SHOULDER = 1u << 4,
    PAD_RIGHT_SHOULDER = 1u << 5,
    PAD_BACK = 1u << 6,
    PAD_START = 1u << 7,
    PAD_LEFT_STICK = 1u << 8,
    PAD_RIGHT_STICK = 1u << 9,
    PAD_GUIDE = 1u << 10,
};
constexpr int PAD_STANDARD_BUTTONS = 11;

// What button nButton (1..11) of the standard layout is, for listings; "" outside.
inline const char* PadButtonName(int nButton) {
    static constexpr const char* kNames[PAD_STANDARD_BUTTONS] = {
        "south (A)",        "east (B)",          "west (X)",      "north (Y)",
        "left shoulder",    "right shoulder",    "back (select)", "start",
        "left stick click", "right stick click", "guide"};
    return nButton >= 1 && nButton <= PAD_STANDARD_BUTTONS ? kNames[nButton - 1] : "";
}

// A stick axis, -32768..32767 with 0 at rest, to 0..65535 with 32767 at rest.
inline uint32_t PadAxisPosition(int32_t nValue) {
    if (nValue < -32768) nValue = -32768;
    if (nValue > 32767) nValue = 32767;
    if (nValue < 0) return uint32_t((nValue + 32768) * 32767 / 32768);
    return 32767u + uint32_t(nValue * 32768 / 32767);
}

// A stick axis given as -1.0..1.0 (as browsers report it), truncated to -32767..32767 first.
inline uint32_t PadAxisFromUnit(double dValue) {
    if (dValue != dValue) dValue = 0.0;  // not a number: at rest
    if (dValue < -1.0) dValue = -1.0;
    if (dValue > 1.0) dValue = 1.0;
    return PadAxisPosition(int32_t(dValue * 32767.0));
}

// Folds the D-pad (PAD_HAT_ bits) into the position. Opposite directions held together (D-pad
// buttons can do that) cancel and leave the stick's value on that axis.
inline void PadFold(PlatJoy* lpJoy, uint32_t dwHat) {
    const bool bLeft = dwHat & PAD_HAT_LEFT, bRight = dwHat & PAD_HAT_RIGHT;
    const bool bUp = dwHat & PAD_HAT_UP, bDown = dwHat & PAD_HAT_DOWN;
    if (bLeft != bRight) lpJoy->dwX = bLeft ? 0 : 65535;
    if (bUp != bDown) lpJoy->dwY = bUp ? 0 : 65535;
}

// The browser's "standard" gamepad mapping, button index 0..16: the game button bit it gives,
// or the D-pad bit for indices 12..15 (up, down, left, right). Triggers (6, 7) give nothing.
struct PADWEBBUTTON {
    uint32_t dwButton;
    uint32_t dwHat;
};
inline PADWEBBUTTON PadWebStandardButton(int nIndex) {
    static constexpr PADWEBBUTTON kMap[17] = {{PAD_SOUTH, 0},
                                              {PAD_EAST, 0},
                                              {PAD_WEST, 0},
                                              {PAD_NORTH, 0},
                                              {PAD_LEFT_SHOULDER, 0},
                                              {PAD_RIGHT_SHOULDER, 0},
                                              {0, 0},
                                              {0, 0},
                                              {PAD_BACK, 0},
                                              {PAD_START, 0},
                                              {PAD_LEFT_STICK, 0},
                                              {PAD_RIGHT_STICK, 0},
                                              {0, PAD_HAT_UP},
                                              {0, PAD_HAT_DOWN},
                                              {0, PAD_HAT_LEFT},
                                              {0, PAD_HAT_RIGHT},
                                              {PAD_GUIDE, 0}};
    return nIndex >= 0 && nIndex < 17 ? kMap[nIndex] : PADWEBBUTTON{0, 0};
}
