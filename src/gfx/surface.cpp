#include "gfx/surface.h"

#include <cstring>
#include <new>

#include "app/debug_trace.h"
#include "gfx/bitmap.h"
#include "gfx/palette.h"
#include "platform/plat_display.h"

SURFACE g_Primary;
SURFACE g_BackBuffer;
const DISPLAYMODE g_DisplayModes[1] = {{SCREEN_WIDTH, SCREEN_HEIGHT, 8}};
int g_bDisplayReady = 0;
uint8_t g_bDrawOff = 0;

namespace {

// Larger pictures than this are refused rather than allocated.
constexpr int MAX_SURFACE_SIZE = 16384;

bool AllocPixels(SURFACE& surf, int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0 || nWidth > MAX_SURFACE_SIZE || nHeight > MAX_SURFACE_SIZE) return false;
    const int nPitch = (nWidth + 3) & ~3;
    std::unique_ptr<uint8_t[]> lpPixels(new (std::nothrow) uint8_t[size_t(nPitch) * nHeight]);
    if (!lpPixels) return false;
    std::memset(lpPixels.get(), 0, size_t(nPitch) * nHeight);
    surf.lpSurface = std::move(lpPixels);
    surf.nWidth = nWidth;
    surf.nHeight = nHeight;
    surf.nPitch = nPitch;
    surf.bLocked = 0;
    return true;
}

}  // namespace

bool DDInitDisplay(void*, const DISPLAYMODE* lpModes, int, int) {
    int nCode = 0;
    if (!lpModes || lpModes[0].nBits != 8 || !Plat_DisplayInit(lpModes[0].nWidth, lpModes[0].nHeight))
        nCode = 3;
    else if (!AllocPixels(g_Primary, lpModes[0].nWidth, lpModes[0].nHeight))
        nCode = 4;
    else if (!AllocPixels(g_BackBuffer, lpModes[0].nWidth, lpModes[0].nHeight))
        nCode = 5;
    if (nCode == 0) {
        // Placeholder colours until start-up loads the game palette.
        PALETTE pal;
        for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i), 0, PC_RESERVED};
        pal[0] = {0, 0, 255, PC_RESERVED};
        DDSetPaletteEntries(0, 256, pal.data());
        g_Primary.bSysMem = 0;
        g_BackBuffer.bSysMem = 0;
        g_bDisplayReady = 1;
        return true;
    }
    static const char* const szNames[] = {"",
                                          "CREATEEX_ERR",
                                          "SETCOOPLEVEL_ERR",
                                          "SETDISPLAYMODE_ERR",
                                          "CREATESURFACE_ERR",
                                          "GETATTACHEDSURFACE_ERR"};
    DebugTrace(szNames[nCode]);
    return false;
}

void DDReleaseFullScreen() {
    for (SURFACE& surf : g_Bitmap) DDReleaseSurface(surf);
    DDReleaseSurface(g_Primary);
    DDReleaseSurface(g_BackBuffer);
    Plat_DisplayQuit();
}

bool DDCreateSurface(SURFACE& surf, int nWidth, int nHeight, int bColorKey, int bSysMem) {
    if (!AllocPixels(surf, nWidth, nHeight)) return false;
    surf.bColorKey = bColorKey == 1;
    // Every surface lives in memory the platform never takes away.
    surf.bSysMem = bSysMem;
    return true;
}

void DDReleaseSurface(SURFACE& surf) {
    surf.lpSurface.reset();
    surf.nWidth = surf.nHeight = surf.nPitch = 0;
    surf.bLocked = 0;
}

bool DDLockSurface(SURFACE& surf, SURFACEDESC* lpDesc, uint8_t** lplpBits, int nBits) {
    if (!surf.lpSurface || surf.bLocked || nBits != 8) return false;
    surf.bLocked = 1;
    if (lpDesc) *lpDesc = {surf.nWidth, surf.nHeight, surf.nPitch, surf.lpSurface.get()};
    if (lplpBits) *lplpBits = surf.lpSurface.get();
    return true;
}

void DDUnlockSurface(SURFACE& surf) {
    surf.bLocked = 0;
}

void DDPresent() {
    if (g_Primary.lpSurface) Plat_Present(g_Primary.lpSurface.get(), g_Primary.nPitch);
}
