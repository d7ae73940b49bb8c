// Rectangle copies, fills, the burst and the rotated copy. nFlags: 0 opaque, 1 keyed (index 0
// of a surface with a colour key is left out).
#pragma once
#include <array>

#include "gfx/surface.h"

void DDBltClip(SURFACE& dst, int dx, int dy, int w, int h, const SURFACE& src, int sx, int sy, int nFlags);
void DDBltStretch(SURFACE& dst, int dx, int dy, int dw, int dh, const SURFACE& src, int sx, int sy, int sw,
                  int sh, int nFlags);
void DDFillRect(SURFACE& surf, int x, int y, int w, int h, int nColor);
void DDFrameRect(SURFACE& surf, int x, int y, int w, int h, int nColor);
void DDBltFramed(SURFACE& dst, int dx, int dy, int w, int h, const SURFACE& src, int sx, int sy, int nColor);
void DDBltBurst(SURFACE& dst, int x, int y, int w, int h, const SURFACE& src, int sx, int sy, int nRadius,
                int nFlags);
// The burst's eight wedge offsets for nRadius (A horizontal, B vertical).
void DDBurstOffsets(int nRadius, std::array<int, 8>& A, std::array<int, 8>& B);

// Copies the w x h rectangle at (sx, sy) of src turned nAngle degrees clockwise about (px, py)
// of the rectangle, which lands on (x, y) of dst. Source pixels outside src are transparent.
// False when a surface cannot be locked.
bool DDBltRotate(SURFACE& dst, int x, int y, int w, int h, int px, int py, int nAngle, SURFACE& src, int sx,
                 int sy, int nFlags);
