#include "gfx/bitmap.h"

#include <cstdio>
#include <cstring>

#include "app/debug_trace.h"
#include "gfx/bmp_file.h"
#include "lang/lang.h"

const std::array<BITMAPLISTENTRY, BMP_COUNT> g_BitmapList = {{
    {"bmp/文字.bmp", 1, 0, nullptr},
    {"bmp/タイトル.bmp", 0, 0, "bmp/en/タイトル.bmp"},
    {"bmp/オプション.bmp", 0, 0, nullptr},
    {"bmp/バトル背景.bmp", 0, 0, nullptr},
    {"bmp/バトルキャラ.bmp", 1, 1, nullptr},
    {"bmp/エフェクト.bmp", 1, 0, nullptr},
    {"bmp/キャラクターセレクト.bmp", 0, 0, "bmp/en/キャラクターセレクト.bmp"},
    {"bmp/メッセージ.bmp", 1, 0, "bmp/en/メッセージ.bmp"},
    {"bmp/その他.bmp", 1, 0, nullptr},
}};

const char* ListedBitmapFile(int nId) {
    const BITMAPLISTENTRY& row = g_BitmapList[size_t(nId)];
    return g_nLanguage == LANG_EN && row.szEnglish ? row.szEnglish : row.szFile;
}

const std::array<const char*, 7> g_szBattleBackground = {
    "bmp/背景＿草原.bmp", "bmp/背景＿土.bmp", "bmp/背景＿道.bmp", "bmp/背景＿海.bmp",
    "bmp/背景＿砂漠.bmp", "bmp/背景＿沼.bmp", "bmp/背景＿橋.bmp",
};

std::array<SURFACE, BMP_COUNT> g_Bitmap;
std::array<SURFACE, 7> g_BattleBackground;

namespace {

// The arena g_Bitmap[BMP_BATTLE_BG] holds a copy of, -1 when none.
int g_nShownBackground = -1;

// Copies the file's pixels into surf, whose size must be the file's.
bool CopyPixels(SURFACE& surf, const char* szFile) {
    BMPFILE bmp;
    if (!DDReadBmpFile(szFile, bmp)) return false;
    // A file that changed size since the surface was made would not fit its buffer.
    if (bmp.nWidth != surf.nWidth || bmp.nHeight != surf.nHeight) return false;
    uint8_t* lpBits;
    SURFACEDESC desc;
    if (DDLockSurface(surf, &desc, &lpBits, 8)) {
        for (int r = 0; r < bmp.nHeight; ++r)
            std::memcpy(lpBits + size_t(r) * desc.nPitch, &bmp.pixels[size_t(r) * bmp.nWidth],
                        size_t(bmp.nWidth));
        DDUnlockSurface(surf);
    }
    return true;
}

}  // namespace

int DDLoadBitmap(SURFACE& surf, const char* szFile, int bColorKey, int, int bSysMem) {
    BMPFILE bmp;
    if (!szFile || std::strlen(szFile) >= sizeof surf.szFileName) return LOAD_LOADIMAGE_ERR;
    if (!DDReadBmpFile(szFile, bmp)) return LOAD_LOADIMAGE_ERR;
    if (!DDCreateSurface(surf, bmp.nWidth, bmp.nHeight, bColorKey, bSysMem)) return LOAD_CREATESURFACE_ERR;
    if (!DDCopyBitmap(surf, szFile, 8)) return LOAD_LOADIMAGE_ERR;
    surf.bSysMem = bSysMem;
    return LOAD_OK;
}

bool DDCheckLoadError(int nCode) {
    if (nCode == LOAD_CREATESURFACE_ERR) {
        DebugTrace("CREATESURFACE_ERR");
        return false;
    }
    if (nCode == LOAD_LOADIMAGE_ERR) {
        DebugTrace("LOADIMAGE_ERR");
        return false;
    }
    return nCode == LOAD_OK;
}

bool DDCopyBitmap(SURFACE& surf, const char* szFile, int) {
    if (!szFile || std::strlen(szFile) >= sizeof surf.szFileName) return false;
    if (!CopyPixels(surf, szFile)) return false;
    if (surf.szFileName != szFile) std::snprintf(surf.szFileName, sizeof surf.szFileName, "%s", szFile);
    return true;
}

bool DDLoadListedBitmap(SURFACE& surf, int nId) {
    const BITMAPLISTENTRY& row = g_BitmapList[size_t(nId)];
    return DDCheckLoadError(DDLoadBitmap(surf, ListedBitmapFile(nId), row.bColorKey, 8, row.bSysMem));
}

// A scene change simulated again after a rollback (drawing off) neither frees pictures nor
// reads again the ones it still has: the frame drawn after it finds what it needs, and the
// files are not touched.
bool DDLoadBitmaps(std::span<const int> nIds) {
    for (int nId : nIds) {
        const SURFACE& surf = g_Bitmap[size_t(nId)];
        if (g_bDrawOff && surf.lpSurface && std::strcmp(surf.szFileName, ListedBitmapFile(nId)) == 0)
            continue;
        if (!DDLoadListedBitmap(g_Bitmap[size_t(nId)], nId)) return false;
    }
    return true;
}

void DDReleaseBitmaps(std::span<const int> nIds) {
    if (g_bDrawOff) return;
    for (int nId : nIds) DDReleaseSurface(g_Bitmap[size_t(nId)]);
}

bool DDCreateSurfaceFromBitmapList(std::array<SURFACE, BMP_COUNT>& lpSurfaces, const int* lpIds, int nCount) {
    if (nCount < 1) return true;
    if (!lpIds) return false;
    for (int i = 0; i < nCount; ++i) {
        const int nId = lpIds[i];
        if (nId < 0 || nId >= BMP_COUNT) return false;
        if (!DDLoadListedBitmap(lpSurfaces[nId], nId)) {
            char szText[300];
            std::snprintf(szText, sizeof szText, "%s 生成失敗！", ListedBitmapFile(nId));
            DebugTrace(szText);
            return false;
        }
    }
    return true;
}

bool DDLoadBattleBackground(const char* szFile) {
    g_nShownBackground = -1;
    DDReleaseSurface(g_Bitmap[BMP_BATTLE_BG]);
    if (!DDCheckLoadError(DDLoadBitmap(g_Bitmap[BMP_BATTLE_BG], szFile, 0, 8, 0))) {
        char szText[300];
        std::snprintf(szText, sizeof szText, "%s 生成失敗！", szFile ? szFile : "");
        DebugTrace(szText);
        return false;
    }
    return true;
}

void DDLoadBattleBackgrounds() {
    for (size_t i = 0; i < g_BattleBackground.size(); ++i) {
        SURFACE& surf = g_BattleBackground[i];
        if (surf.lpSurface && std::strcmp(surf.szFileName, g_szBattleBackground[i]) == 0) continue;
        DDReleaseSurface(surf);
        if (!DDCheckLoadError(DDLoadBitmap(surf, g_szBattleBackground[i], 0, 8, 0))) DDReleaseSurface(surf);
    }
}

void DDReleaseBattleBackgrounds() {
    if (g_bDrawOff) return;
    for (SURFACE& surf : g_BattleBackground) DDReleaseSurface(surf);
    g_nShownBackground = -1;
}

bool DDShowBattleBackground(int nIndex) {
    SURFACE& bg = g_Bitmap[BMP_BATTLE_BG];
    if (nIndex == g_nShownBackground && bg.lpSurface) return true;
    g_nShownBackground = -1;
    const SURFACE* lpArena = nIndex >= 0 && size_t(nIndex) < g_BattleBackground.size()
                                 ? &g_BattleBackground[size_t(nIndex)]
                                 : nullptr;
    if (!lpArena || !lpArena->lpSurface) {
        DDReleaseSurface(bg);
        char szText[300];
        std::snprintf(szText, sizeof szText, "%s 生成失敗！",
                      lpArena ? g_szBattleBackground[size_t(nIndex)] : "");
        DebugTrace(szText);
        return false;
    }
    if (bg.nWidth != lpArena->nWidth || bg.nHeight != lpArena->nHeight || !bg.lpSurface) {
        DDReleaseSurface(bg);
        if (!DDCreateSurface(bg, lpArena->nWidth, lpArena->nHeight, 0, 0)) return false;
    }
    for (int r = 0; r < bg.nHeight; ++r)
        std::memcpy(bg.lpSurface.get() + size_t(r) * bg.nPitch,
                    lpArena->lpSurface.get() + size_t(r) * lpArena->nPitch, size_t(bg.nWidth));
    std::snprintf(bg.szFileName, sizeof bg.szFileName, "%s", lpArena->szFileName);
    g_nShownBackground = nIndex;
    return true;
}

// The platform never takes surface memory away, so there is never anything to recover.
bool DDRestoreSurfaces() {
    return true;
}
