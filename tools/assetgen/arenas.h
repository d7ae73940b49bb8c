// The full-screen pictures: arenas and menu backgrounds.
#pragma once
#include "canvas.h"

Canvas PaintArena(int nArena);  // 0 grassland .. 6 bridge, the battle's list order
Canvas PaintTitle();
Canvas PaintCharaSelect();
Canvas PaintOptionScreen();
Canvas PaintLetters();  // bmp/文字.bmp: ASCII in 16 x 16 cells
