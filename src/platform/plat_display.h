// Platform layer: showing the game's 8-bit picture.
#pragma once
#include <cstdint>

struct PlatColor {
    uint8_t r, g, b;
};

// Prepares presentation of an nWidth x nHeight 8-bit picture in the window.
bool Plat_DisplayInit(int nWidth, int nHeight);
void Plat_DisplayQuit();
// The colours of the 256 indices; used from the next present on.
void Plat_SetPalette(const PlatColor lpPalette[256]);
// Shows an nWidth x nHeight picture of palette indices (rows nPitch bytes apart).
void Plat_Present(const uint8_t* lpPixels, int nPitch);
// The monitor's refresh rate in Hz, or 0 when it cannot be told.
int Plat_RefreshRate();
