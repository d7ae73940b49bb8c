// Character select: both players choose a character and four skills before each battle.
#pragma once
#include <cstdint>

struct CHARA;
struct CURSOR;
struct INPUTSTATE;
struct STATEBUF;

// Values of g_nSelectState.
enum {
    SELECT_FADE_IN = 0,
    SELECT_COM_CHARA = 1,
    SELECT_COM_SKILL = 2,
    SELECT_VS_CHARA = 3,
    SELECT_VS_SKILL = 4,
    SELECT_FADE_OUT = 5,
};

extern int32_t g_nSelectStep;         // 0 load on the next frame, 1 running, -1 leaving
extern int32_t g_nSelectState;        // SELECT_*
extern int32_t g_nRoulette[2];        // frames left of each player's roulette
extern int32_t g_nLastChara[2];       // characters of the last battle
extern int32_t g_nSkillChoice[4][2];  // [button][player]: index into the mode's skill list

// Per-frame entry of scene 1; false only when the scene's pictures could not be loaded.
bool SelectMain();
bool SelectSetup();
void SelectFrame();
// Release step: frees the scene's resources and switches to g_nNextScene.
void SelectRelease();
// Saves or restores the select's step, state, roulettes, last characters and skill choices.
void SelectStateIo(STATEBUF* lpBuf);

void SelectDefaultSkills();
void SelectChara(CHARA* lpChara, CURSOR* lpCursor, int nIndex);
void SelectSkillCycle(INPUTSTATE* lpInput, int* lpChoice);
void CharaRoulette(int* lpCount, CURSOR* lpCursor, INPUTSTATE* lpInput);
void SkillRoulette(int* lpCount, int nPlayer);

// Drawing (select_draw.cpp).
void SelectDraw();
void SelectDrawRow();
void DrawCharaInfo(int x, int y, int nIndex);
void DrawSkillNames();
void DrawModeName();
