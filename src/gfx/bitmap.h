// The game's pictures: the bitmap list, loading BMP files into surfaces, surface recovery.
#pragma once
#include <array>
#include <span>

#include "gfx/surface.h"

enum {
    BMP_MOJI,
    BMP_TITLE,
    BMP_OPTION,
    BMP_BATTLE_BG,
    BMP_BATTLE_CHARA,
    BMP_EFFECT,
    BMP_CHARA_SELECT,
    BMP_MESSAGE,
    BMP_OTHER,
    BMP_COUNT
};

struct BITMAPLISTENTRY {
    const char* szFile;
    int bColorKey;
    int bSysMem;
    const char* szEnglish;  // the picture in English, for one with words in it (else null)
};

extern const std::array<BITMAPLISTENTRY, BMP_COUNT> g_BitmapList;
// The file of bitmap nId in the language in force. The palette always comes from the Japanese
// bmp/メッセージ.bmp; the English pictures share it.
const char* ListedBitmapFile(int nId);
extern const std::array<const char*, 7> g_szBattleBackground;
extern std::array<SURFACE, BMP_COUNT> g_Bitmap;
// All seven arenas, loaded while a battle runs: a round (also one simulated again after a
// rollback) picks its background without touching a file.
extern std::array<SURFACE, 7> g_BattleBackground;

// Result codes of DDLoadBitmap.
enum { LOAD_OK = 0, LOAD_CREATESURFACE_ERR = 4, LOAD_LOADIMAGE_ERR = 8 };

int DDLoadBitmap(SURFACE& surf, const char* szFile, int bColorKey, int nBits, int bSysMem);
bool DDCheckLoadError(int nCode);
bool DDCopyBitmap(SURFACE& surf, const char* szFile, int nBits);
// Loads bitmap nId of g_BitmapList into surf with the flags of its row.
bool DDLoadListedBitmap(SURFACE& surf, int nId);
// A scene's pictures: loads the listed ids into g_Bitmap, stopping at the first failure.
// With drawing off (a scene change simulated again) pictures already loaded from the same
// file are kept, and releasing keeps them all.
bool DDLoadBitmaps(std::span<const int> nIds);
void DDReleaseBitmaps(std::span<const int> nIds);
// Loads the listed ids into lpSurfaces[id], stopping at the first failure (earlier ones stay).
bool DDCreateSurfaceFromBitmapList(std::array<SURFACE, BMP_COUNT>& lpSurfaces, const int* lpIds, int nCount);
// Replaces g_Bitmap[BMP_BATTLE_BG] with szFile. False (after a trace) when it cannot be loaded;
// the caller then asks the window to close.
bool DDLoadBattleBackground(const char* szFile);
// Loads all seven arenas into g_BattleBackground; one that cannot be loaded stays empty.
void DDLoadBattleBackgrounds();
void DDReleaseBattleBackgrounds();  // keeps them with drawing off
// Puts arena nIndex into g_Bitmap[BMP_BATTLE_BG] (nothing to do when it is there already).
// False (after a trace, with the background released) when that arena is not loaded.
bool DDShowBattleBackground(int nIndex);
// Surfaces are never lost on this platform: always true.
bool DDRestoreSurfaces();
