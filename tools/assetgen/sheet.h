// The contact sheet: every picture on one PNG for looking at the set as a whole.
#pragma once
#include <vector>

#include "canvas.h"

// pictures holds the canvases of all AssetBitmap ids in order.
bool WriteContactSheet(const char* szFile, const std::vector<Canvas>& pictures);
