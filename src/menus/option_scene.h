// The options scene (scene 3): an object made on entry and freed by the frame on leaving.
// Its three display states run through a table of operations.
#pragma once
#include <array>
#include <cstdint>

struct SURFACE;

enum { OPTION_NOT_LOADED = -1, OPTION_FADE_IN = 0, OPTION_MENU = 1, OPTION_FADE_OUT = 2 };
// Menu rows; the seven before OPTION_ROW_LANGUAGE edit a value (nValue[row]); the language row
// switches the language in force at once.
enum {
    OPTION_ROW_WIN_COUNT = 0,
    OPTION_ROW_DEFENSE = 1,  // rows 1..3: player 1, player 2, COM
    OPTION_ROW_COM_LEVEL = 4,
    OPTION_ROW_GAME_SPEED = 5,
    OPTION_ROW_BATTLE_MODE = 6,
    OPTION_ROW_LANGUAGE = 7,
    OPTION_ROW_SAVE = 8,
    OPTION_ROW_BACK = 9,
    OPTION_ROWS = 10,
};

struct OPTIONSCENE {
    int32_t nState;
    std::array<void (*)(OPTIONSCENE*), 3> lpfnState;
    std::array<int32_t, 2> nBitmap;
    std::array<int32_t, OPTION_ROW_LANGUAGE> nValue;  // the values being edited, in menu row order
};

// Makes g_lpOption when it is null; throws std::runtime_error("CreateOption Error") when it cannot.
void CreateOption();
void OptionRun(OPTIONSCENE* lpScene);
void OptionDestroy(OPTIONSCENE* lpScene);

void OptionLoad(OPTIONSCENE* lpScene);
void OptionFadeIn(OPTIONSCENE* lpScene);
void OptionMenu(OPTIONSCENE* lpScene);
void OptionFadeOut(OPTIONSCENE* lpScene);
void OptionDraw(OPTIONSCENE* lpScene, SURFACE& surf, int32_t nX, int32_t nY);
void OptionApply(OPTIONSCENE* lpScene);
void OptionGet(OPTIONSCENE* lpScene);
