// The smaller battle and menu pictures.
#pragma once
#include "canvas.h"

Canvas PaintMessage();  // bmp/メッセージ.bmp: signs and title panels; its colour table is the palette
Canvas PaintOther();    // bmp/その他.bmp: cursors, arrows, win stars
Canvas PaintEffect();   // bmp/エフェクト.bmp
