// The two tables behind GameText.
#pragma once
#include "lang/lang.h"

extern const GAMETEXT g_TextJa[TXT_COUNT];
extern const GAMETEXT g_TextEn[TXT_COUNT];
