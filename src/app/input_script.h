// Input scripts: the keys and joysticks of each frame as text, one line per change.
//   <frame> <key> <key> ... J0=<x>,<y>,<buttons>[,<hat>] J1=...   # comment
// The hat (D-pad) is one of C U D L R UL UR DL DR (C, centred, when left out).
// From that frame on exactly the listed keys are down. A joystick is connected from the first
// line that names it; a later line that leaves it out keeps it connected, at rest, no buttons.
// The simulator plays scripts; the game writes them with --record.
#pragma once
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/plat_input.h"

struct INPUTFRAME {
    uint32_t dwFrame = 0;
    std::bitset<256> Keys;  // by virtual-key code
    bool bJoy[2] = {};      // named on this line
    bool bJoyOn[2] = {};    // named on this line or an earlier one: connected
    PlatJoy Joy[2] = {{32767, 32767, 0}, {32767, 32767, 0}};
    uint32_t dwHat[2] = {};  // PAD_HAT_ bits
};

struct INPUTSCRIPT {
    std::vector<INPUTFRAME> Lines;  // frames strictly increasing
};

// The devices as a script line sets them for one frame.
struct INPUTDEVICES {
    std::bitset<256> Keys;
    bool bJoyConnected[2] = {};
    PlatJoy Joy[2] = {{32767, 32767, 0}, {32767, 32767, 0}};
    uint32_t dwJoyHat[2] = {};  // PAD_HAT_ bits, folded into the position when the joystick is read
};

// Parses szText. On failure returns false with "line N: ..." in szError; lpScript is then empty.
bool ParseInputScript(const std::string& szText, INPUTSCRIPT* lpScript, std::string* szError);

// The state of frame dwFrame: the last line at or before it; before the first line all keys
// are up and no joystick is connected.
INPUTDEVICES InputScriptAt(const INPUTSCRIPT& script, uint32_t dwFrame);

// Name of a key in scripts ("LEFT", "Z", "7", "VK186"); key codes outside 1..255 give "".
std::string InputKeyName(int nVk);
// Code of a key name, or -1.
int InputKeyCode(const std::string& szName);

// One script line for the devices of frame dwFrame (joysticks named while connected).
std::string FormatInputLine(uint32_t dwFrame, const INPUTDEVICES& dev);
