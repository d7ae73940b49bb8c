// Display and surfaces: the 8-bit back buffer, the visible surface and off-screen pictures.
#pragma once
#include <cstdint>
#include <memory>

// One drawable image of 8-bit palette indices. Index 0 is the transparent colour of keyed copies.
struct SURFACE {
    std::unique_ptr<uint8_t[]> lpSurface;  // the pixels, null when absent
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    int32_t nPitch = 0;     // bytes from one row to the next, at least nWidth
    int32_t bColorKey = 0;  // 1: keyed copies from this surface skip index 0
    int32_t bLocked = 0;
    char szFileName[260] = {};  // bitmap file the pixels came from (UTF-8, '/' separated)
    int32_t bSysMem = 0;
};

// What a lock hands out.
struct SURFACEDESC {
    int32_t nWidth;
    int32_t nHeight;
    int32_t nPitch;
    uint8_t* lpBits;
};

struct DISPLAYMODE {
    int32_t nWidth;
    int32_t nHeight;
    int32_t nBits;
};

enum { SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480 };

extern SURFACE g_Primary;     // the screen: drawing into it shows the picture
extern SURFACE g_BackBuffer;  // 640 x 480, the drawing target of every scene
extern const DISPLAYMODE g_DisplayModes[1];
// Drawing off: the blitters and the text skip their pixels while everything that calls them
// still runs. Frames simulated again after a rollback run this way: the drawing steps that
// count (animations, effect timers, the palette cycle) advance exactly as when drawn.
extern uint8_t g_bDrawOff;
extern int g_bDisplayReady;

// Sets up the display from lpModes[0] (bWindowed and nBackBuffers are accepted as the game passes
// them; the platform window is the one Plat_CreateWindow made, hWnd is unused). False on failure.
bool DDInitDisplay(void* hWnd, const DISPLAYMODE* lpModes, int bWindowed, int nBackBuffers);
void DDReleaseFullScreen();

// A new off-screen surface cleared to index 0; replaces whatever surf held.
bool DDCreateSurface(SURFACE& surf, int nWidth, int nHeight, int bColorKey, int bSysMem);
// Frees the pixels (lpSurface becomes null); the file name is kept.
void DDReleaseSurface(SURFACE& surf);

// Locks the whole surface for direct access; fails when absent or already locked.
bool DDLockSurface(SURFACE& surf, SURFACEDESC* lpDesc, uint8_t** lplpBits, int nBits);
void DDUnlockSurface(SURFACE& surf);

// Shows g_Primary's pixels again through the current display palette.
void DDPresent();
