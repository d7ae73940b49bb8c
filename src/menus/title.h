// The title scene (scene 0): fade in, a four-row menu, fade out to the chosen scene.
#pragma once
#include <cstdint>

#include "app/scene_state.h"

enum { TITLE_FADE_IN = 0, TITLE_MENU = 1, TITLE_FADE_OUT = 2 };

extern int32_t g_nTitleState;  // 0 not loaded, 1 running, -1 leaving
extern int32_t g_nTitlePhase;  // TITLE_*

struct STATEBUF;

bool TitleMain();
bool TitleLoad();
void TitleRun();
void TitleRelease();
// Saves or restores the title's step and phase.
void TitleStateIo(STATEBUF* lpBuf);
