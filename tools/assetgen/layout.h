// Every picture and sound the game loads, and every rectangle any scene copies out of a
// picture. Each bitmap is made exactly big enough for its rectangles; tests check that.
#pragma once
#include <array>
#include <cstdint>

enum AssetBitmap {
    ABMP_MOJI = 0,  // ids 0..8 follow the game's bitmap list
    ABMP_TITLE,
    ABMP_OPTION,
    ABMP_BATTLE_BG,
    ABMP_BATTLE_CHARA,
    ABMP_EFFECT,
    ABMP_CHARA_SELECT,
    ABMP_MESSAGE,
    ABMP_OTHER,
    ABMP_BG_GRASS,  // the seven battle backgrounds, in the battle's list order
    ABMP_BG_SOIL,
    ABMP_BG_ROAD,
    ABMP_BG_SEA,
    ABMP_BG_DESERT,
    ABMP_BG_SWAMP,
    ABMP_BG_BRIDGE,
    ABMP_COUNT,
};

struct AssetBitmapInfo {
    const char* szFile;  // relative to the data folder
    int nWidth, nHeight;
};

inline constexpr std::array<AssetBitmapInfo, ABMP_COUNT> g_AssetBitmaps = {{
    {"bmp/文字.bmp", 256, 96},
    {"bmp/タイトル.bmp", 640, 480},
    {"bmp/オプション.bmp", 640, 480},
    {"bmp/バトル背景.bmp", 640, 480},
    {"bmp/バトルキャラ.bmp", 768, 224},
    {"bmp/エフェクト.bmp", 160, 192},
    {"bmp/キャラクターセレクト.bmp", 640, 480},
    {"bmp/メッセージ.bmp", 472, 576},
    {"bmp/その他.bmp", 48, 48},
    {"bmp/背景＿草原.bmp", 640, 480},
    {"bmp/背景＿土.bmp", 640, 480},
    {"bmp/背景＿道.bmp", 640, 480},
    {"bmp/背景＿海.bmp", 640, 480},
    {"bmp/背景＿砂漠.bmp", 640, 480},
    {"bmp/背景＿沼.bmp", 640, 480},
    {"bmp/背景＿橋.bmp", 640, 480},
}};

// The pictures with words: drawn once more in English into bmp/en/ under the same names.
inline constexpr std::array<int, 3> g_AssetEnglishBitmaps = {ABMP_TITLE, ABMP_CHARA_SELECT, ABMP_MESSAGE};

// A rectangle, or a grid of nCountX x nCountY equal rectangles nStepX / nStepY apart.
struct AssetRect {
    int nBitmap;
    const char* szUse;
    int nX, nY, nW, nH;
    int nCountX = 1, nStepX = 0;
    int nCountY = 1, nStepY = 0;
};

// Sprite sheet rows: sprite index s of a size sits at y = s * size + row offset.
inline constexpr int kCharaCount = 12;
inline constexpr int kSizeRowNormal = 0, kSizeRowBig = 64, kSizeRowSmall = 192;
inline constexpr int kStillBlockX = 384;  // player 1's still images

inline constexpr AssetRect g_AssetRects[] = {
    {ABMP_MOJI, "letter cells, ASCII 0x20..0x7F", 0, 0, 16, 16, 16, 16, 6, 16},
    {ABMP_TITLE, "title picture", 0, 0, 640, 480},
    {ABMP_OPTION, "options background (framed copy)", 0, 0, 640, 480},
    {ABMP_BATTLE_BG, "battle background", 0, 0, 640, 480},
    {ABMP_CHARA_SELECT, "select background", 0, 0, 640, 480},
    {ABMP_BG_GRASS, "arena", 0, 0, 640, 480},
    {ABMP_BG_SOIL, "arena", 0, 0, 640, 480},
    {ABMP_BG_ROAD, "arena", 0, 0, 640, 480},
    {ABMP_BG_SEA, "arena", 0, 0, 640, 480},
    {ABMP_BG_DESERT, "arena", 0, 0, 640, 480},
    {ABMP_BG_SWAMP, "arena", 0, 0, 640, 480},
    {ABMP_BG_BRIDGE, "arena", 0, 0, 640, 480},

    // Fighters: column = id x size, sprites 0 (vanished) and 1 (body) of each size.
    {ABMP_BATTLE_CHARA, "32 px sprites 0..1", 0, kSizeRowNormal, 32, 32, kCharaCount, 32, 2, 32},
    {ABMP_BATTLE_CHARA, "player 1 still sprites 0..1", kStillBlockX, kSizeRowNormal, 32, 32, kCharaCount, 32,
     2, 32},
    {ABMP_BATTLE_CHARA, "64 px sprites 0..1", 0, kSizeRowBig, 64, 64, kCharaCount, 64, 2, 64},
    {ABMP_BATTLE_CHARA, "16 px sprites 0..1", 0, kSizeRowSmall, 16, 16, kCharaCount, 16, 2, 16},
    {ABMP_BATTLE_CHARA, "select row and portraits", 0, 32, 32, 32, kCharaCount, 32},

    {ABMP_EFFECT, "impact sparks small, middle, large", 0, 16, 32, 32, 3, 32},
    {ABMP_EFFECT, "gauge stock icon", 0, 48, 16, 16},
    {ABMP_EFFECT, "gauge flash frames 0..3", 0, 64, 32, 32, 1, 0, 4, 32},
    {ABMP_EFFECT, "trap", 32, 64, 32, 32},
    {ABMP_EFFECT, "shot", 64, 64, 32, 32},
    {ABMP_EFFECT, "attack aura 32", 32, 96, 32, 32},
    {ABMP_EFFECT, "suction aura 32", 64, 96, 32, 32},
    {ABMP_EFFECT, "attack aura 64", 32, 128, 64, 64},
    {ABMP_EFFECT, "suction aura 64", 96, 128, 64, 64},
    {ABMP_EFFECT, "attack aura 16", 96, 96, 16, 16},
    {ABMP_EFFECT, "suction aura 16", 112, 96, 16, 16},

    {ABMP_MESSAGE, "ready sign", 0, 0, 144, 48},
    {ABMP_MESSAGE, "go sign", 0, 48, 144, 48},
    {ABMP_MESSAGE, "player 1 win sign", 160, 0, 144, 48},
    {ABMP_MESSAGE, "player 2 win sign", 160, 48, 144, 48},
    {ABMP_MESSAGE, "COM win sign", 304, 0, 168, 48},
    {ABMP_MESSAGE, "title upper panel", 0, 96, 432, 48},
    {ABMP_MESSAGE, "title menu panel", 0, 144, 288, 192},
    {ABMP_MESSAGE, "title menu panel with the online row", 0, 336, 288, 240},

    {ABMP_OTHER, "menu cursor, player 1 skill arrow", 16, 0, 16, 16},
    {ABMP_OTHER, "player 2 skill arrow", 16, 16, 16, 16},
    {ABMP_OTHER, "player 1 character arrow", 32, 0, 16, 16},
    {ABMP_OTHER, "player 2 / COM character arrow", 32, 16, 16, 16},
    {ABMP_OTHER, "win stars player 1, player 2", 0, 32, 16, 16, 2, 16},
};

// Palette entries with a fixed job.
inline constexpr int kPalTransparent = 0;  // colour key of every keyed picture
inline constexpr int kPalWhite = 1;        // pure white: text is drawn in it
inline constexpr int kPalCycleFirst = 7;   // 7..15 rotate during the battle
inline constexpr int kPalCycleLast = 15;
inline constexpr int kPalFrame = 255;  // frame of the options picture

// Sounds, in the game's sound table order, with the table's volume (hundredths of a dB).
struct AssetSoundInfo {
    const char* szFile;
    int nVolume;
};

inline constexpr std::array<AssetSoundInfo, 18> g_AssetSounds = {{
    {"wav/カーソル移動.wav", -500},
    {"wav/決定.wav", 0},
    {"wav/キャンセル.wav", -500},
    {"wav/エラー.wav", -1000},
    {"wav/GO.wav", 0},
    {"wav/スキル.wav", -1000},
    {"wav/衝突＿小.wav", -500},
    {"wav/衝突＿小2.wav", -500},
    {"wav/衝突＿中.wav", 0},
    {"wav/衝突＿大.wav", 0},
    {"wav/アタック.wav", 0},
    {"wav/シールド.wav", 0},
    {"wav/メタル.wav", 0},
    {"wav/ブースト.wav", 0},
    {"wav/反射.wav", 0},
    {"wav/ショット.wav", 0},
    {"wav/トラップ.wav", 0},
    {"wav/死.wav", 0},
}};

inline constexpr int kSampleRate = 22050;
