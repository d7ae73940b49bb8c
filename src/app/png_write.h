// Writes an 8-bit indexed picture as a PNG file (screenshots, contact sheets).
#pragma once
#include <cstdint>

#include "platform/plat_display.h"

// nWidth x nHeight palette indices, rows nPitch bytes apart, shown through lpPalette.
// Returns false when the file cannot be written.
bool SavePng(const char* szFile, const uint8_t* lpPixels, int nWidth, int nHeight, int nPitch,
             const PlatColor lpPalette[256]);
