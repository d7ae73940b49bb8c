// Writes pictures as PNG files: 8-bit indexed (screenshots, contact sheets) or RGBA (icons).
#pragma once
#include <cstdint>

#include "platform/plat_display.h"

// nWidth x nHeight palette indices, rows nPitch bytes apart, shown through lpPalette.
// Returns false when the file cannot be written.
bool SavePng(const char* szFile, const uint8_t* lpPixels, int nWidth, int nHeight, int nPitch,
             const PlatColor lpPalette[256]);
// nWidth x nHeight pixels of 4 bytes (red, green, blue, alpha), rows top-down.
bool SavePngRgba(const char* szFile, const uint8_t* lpRgba, int nWidth, int nHeight);
