#include "sheet.h"

#include "app/png_write.h"
#include "layout.h"

bool WriteContactSheet(const char* szFile, const std::vector<Canvas>& pictures) {
    const Canvas& cv = pictures[ABMP_BATTLE_CHARA];
    auto idx = ToIndices(cv, false);
    return SavePng(szFile, idx.data(), cv.nWidth, cv.nHeight, cv.nWidth, GamePalette().data());
}
