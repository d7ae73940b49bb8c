// Controls of the headless backend: no window or device, everything set and read by the
// caller (tests and the simulator). The game code runs unchanged on top of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/plat_display.h"
#include "platform/plat_system.h"

// Puts every headless state back to its start (clock 0, no keys, no joysticks, devices present).
void Headless_Reset();

// The virtual clock: it moves only through Plat_Delay and these calls.
void Headless_SetTicks(uint32_t dwTicks);
void Headless_AdvanceTicks(uint32_t dwMs);

// Input of the moment.
void Headless_SetKey(int nVk, bool bDown);
void Headless_ReleaseAllKeys();
// A joystick's stick, buttons and hat (PAD_HAT_ bits, folded into the position when read).
void Headless_SetJoy(int nId, bool bConnected, uint32_t dwX = 32767, uint32_t dwY = 32767,
                     uint32_t dwButtons = 0, uint32_t dwHat = 0);

// Events handed to the game by Plat_PollEvent, first in first out.
void Headless_PushEvent(PlatEvent ev);

// Failures to simulate.
void Headless_SetVideoAvailable(bool bAvailable);   // Plat_Init
void Headless_SetWindowAvailable(bool bAvailable);  // Plat_CreateWindow
void Headless_SetAudioAvailable(bool bAvailable);   // Plat_AudioInit
void Headless_SetInstanceHeld(bool bHeld);          // another copy holds the instance lock

// What the game showed: the last presented picture and the palette it was shown with.
int Headless_PresentCount();
const std::vector<uint8_t>& Headless_FramePixels();  // width * height indices, no padding
int Headless_FrameWidth();
int Headless_FrameHeight();
const PlatColor* Headless_FramePalette();

// Message boxes shown, in order, as "<caption>: <text>".
std::vector<std::string>& Headless_MessageBoxes();
// For each box: whether this program held the instance lock while it was shown.
const std::vector<bool>& Headless_MessageBoxLocked();

// Every buffer play since the last clear.
struct HeadlessPlay {
    int nGroup;  // label given by Plat_SoundSetLabel (-1 when none)
    int nIndex;
    bool bLoop;
    int nFrame;   // presents made before the play
    int nVolume;  // the buffer's volume when it was played
};
std::vector<HeadlessPlay>& Headless_Plays();
// Number of sound buffers alive (created and not released).
int Headless_LiveSounds();
