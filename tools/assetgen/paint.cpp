#include "arenas.h"
#include "assets.h"
#include "fighters.h"
#include "layout.h"
#include "ui.h"

bool IsDitheredBitmap(int nBitmap) {
    return g_AssetBitmaps[size_t(nBitmap)].nWidth == 640;
}

Canvas PaintBitmap(int nBitmap) {
    switch (nBitmap) {
        case ABMP_MOJI:
            return PaintLetters();
        case ABMP_TITLE:
            return PaintTitle();
        case ABMP_OPTION:
            return PaintOptionScreen();
        case ABMP_BATTLE_BG:
            return PaintArena(0);
        case ABMP_BATTLE_CHARA:
            return PaintBattleChara();
        case ABMP_EFFECT:
            return PaintEffect();
        case ABMP_CHARA_SELECT:
            return PaintCharaSelect();
        case ABMP_MESSAGE:
            return PaintMessage();
        case ABMP_OTHER:
            return PaintOther();
        default:
            return PaintArena(nBitmap - ABMP_BG_GRASS);
    }
}
