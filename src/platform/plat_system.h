// Platform layer: clock, single-instance lock, message boxes, window and its events.
// Implemented once per backend (sdl/ or headless/); the program links exactly one.
// Backends never call game code.
#pragma once
#include <cstdint>

// Starts the platform's video/event system. False: the window system is unusable.
bool Plat_Init();
void Plat_Quit();

// Millisecond clock; wraps after about 49.7 days, so compare by signed difference.
uint32_t Plat_GetTicks();
// Gives the processor away for about ms milliseconds (headless: advances the clock by ms).
void Plat_Delay(uint32_t ms);

// Exclusive, process-lifetime lock named after szName. False when another copy holds it.
bool Plat_LockInstance(const char* szName);
void Plat_UnlockInstance();

// A modal box with an OK button and no owner window.
void Plat_MessageBox(const char* szText, const char* szCaption);

// The game's one window; it shows the presented 640 x 480 picture.
bool Plat_CreateWindow(const char* szTitle, int nWidth, int nHeight);
// A new title for the window (the language changed); nothing without a window.
void Plat_SetWindowTitle(const char* szTitle);
void Plat_DestroyWindow();

enum PlatEvent {
    PLAT_EV_NONE,        // nothing waiting
    PLAT_EV_ACTIVATE,    // the window gained focus
    PLAT_EV_DEACTIVATE,  // the window lost focus
    PLAT_EV_CLOSE,       // close button or window manager asked to close
    PLAT_EV_ESCAPE,      // the Escape key went down
    PLAT_EV_REPAINT,     // the window must be drawn again
};
// Takes the next event without waiting.
PlatEvent Plat_PollEvent();
// Blocks until an event is waiting.
void Plat_WaitEvent();
