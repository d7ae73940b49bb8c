// The painters and synthesizers of every asset.
#pragma once
#include <cstdint>
#include <vector>

#include "canvas.h"

// The picture of bitmap id nBitmap (an AssetBitmap), at the size of its layout entry.
Canvas PaintBitmap(int nBitmap);
// Whether the picture is a background that takes ordered dithering.
bool IsDitheredBitmap(int nBitmap);
// Sound n of the sound table as 8-bit unsigned samples at kSampleRate.
std::vector<uint8_t> SynthSound(int n);
