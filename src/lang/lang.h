// The language the game speaks, and every text a player reads: one table per language, looked
// up by an id. Each text carries the box it must fit where it is drawn.
#pragma once
#include <cstdint>

enum { LANG_JA = 0, LANG_EN = 1, LANG_COUNT = 2 };

// The language in force: chosen at start-up, switched on the options screen. It changes only
// what is drawn and shown, never what the game does.
extern int32_t g_nLanguage;

enum {
    // Lettering of the generated pictures: the logo (also the window's title), the title's
    // tagline and menu rows, the character select's heading.
    TXT_GAME_NAME,
    TXT_TAGLINE,
    TXT_MENU_VS_COM,
    TXT_MENU_TWO_PLAYERS,
    TXT_MENU_OPTIONS,
    TXT_MENU_QUIT,
    TXT_MENU_ONLINE,
    TXT_SELECT_HEADING,
    // The options screen: the row labels except the language row, the COM levels, the battle
    // modes (also on the character select), the help lines and the footer.
    TXT_OPTION_WINS,
    TXT_OPTION_DEFENSE_P1,
    TXT_OPTION_DEFENSE_P2,
    TXT_OPTION_DEFENSE_COM,
    TXT_OPTION_COM_LEVEL,
    TXT_OPTION_SPEED,
    TXT_OPTION_MODE,
    TXT_OPTION_SAVE,
    TXT_OPTION_BACK,
    TXT_COM_LEVEL,                      // five names
    TXT_MODE_NAME = TXT_COM_LEVEL + 5,  // four names
    TXT_HELP = TXT_MODE_NAME + 4,       // nine lines, in the order the modes show them
    TXT_OPTION_FOOTER = TXT_HELP + 9,
    // The character select: names, the three statistics, the skill lines' labels, skill names.
    TXT_CHARA_NAME,  // twelve, by character index
    TXT_POWER = TXT_CHARA_NAME + 12,
    TXT_SPEED,
    TXT_TECHNIQUE,
    TXT_SKILL_LABEL,                       // four, "skill 1 " to "skill 4 "
    TXT_SKILL_NAME = TXT_SKILL_LABEL + 4,  // seventeen, by skill number
    // A net session's messages, in the order of NETPLAY_MSG_WAITING and on.
    TXT_NET_MESSAGE = TXT_SKILL_NAME + 17,
    // The online screen: its five rows (in ONLINE_ROW_* order), then its notes and prompts.
    TXT_ONLINE_HOST = TXT_NET_MESSAGE + 23,
    TXT_ONLINE_JOIN,
    TXT_ONLINE_LOCAL,
    TXT_ONLINE_LOBBY,
    TXT_ONLINE_BACK,
    TXT_ONLINE_NONE,
    TXT_ONLINE_ENTER_TARGET,
    TXT_ONLINE_ENTER_LOBBY,
    TXT_ONLINE_BAD_TARGET,
    TXT_ONLINE_BAD_LOBBY,
    TXT_ONLINE_NOT_SAVED,
    TXT_ONLINE_SAME_NETWORK,
    TXT_ONLINE_STEP_LOBBY,
    TXT_ONLINE_STEP_DIRECT,
    TXT_ONLINE_STEP_RELAY,
    TXT_ONLINE_GIVE_UP,
    TXT_ONLINE_ROUTE_DIRECT,
    TXT_ONLINE_ROUTE_RELAY,
    TXT_ONLINE_ENTER_CODE,
    TXT_ONLINE_BAD_CODE,
    // Message boxes: texts and captions.
    TXT_BOX_RUNNING,
    TXT_BOX_RUNNING_CAPTION,
    TXT_BOX_ERROR_CAPTION,
    TXT_BOX_NO_WINDOW_CLASS,
    TXT_BOX_NO_WINDOW,
    TXT_BOX_NO_START,
    TXT_COUNT
};

// Where a text is drawn: from x nLeft it must end by x nRight, in the Gothic face at nPx pixels.
// nPx 0: not drawn on the screen (a message box, the window's title). A text drawn in two
// places has a second box (nPx 0 when it has none).
struct TEXTBOX {
    int16_t nLeft, nRight, nPx;
};
struct GAMETEXT {
    const char* szText;
    TEXTBOX Box, Box2;
};

// Text nId in the language in force ("" for an id outside the table).
const char* GameText(int nId);
// The whole table of a language (LANG_JA for any other value): TXT_COUNT rows.
const GAMETEXT* TextTable(int nLanguage);

// The options screen's language row reads the same in every language, so that a player who
// cannot read the one in force still finds it: its label, and each language by its own name.
const GAMETEXT& LanguageLabel();
const GAMETEXT& LanguageName(int nLanguage);

// "ja" or "en"; LanguageFromCode takes those two (nothing else) and gives -1 otherwise.
const char* LanguageCode(int nLanguage);
int LanguageFromCode(const char* szCode);
// The language a system locale or language tag names ("ja_JP.UTF-8", "ja-JP", "en-US", "C"):
// Japanese when it is Japanese, English otherwise.
int LanguageOfLocale(const char* szLocale);

// The language at start-up: szFlag ("--lang"), when given, else the saved setting (the line
// "language" of user_data/Settings.txt), else the system's language when bSystem, else
// Japanese. False for a flag that is neither "ja" nor "en" (g_nLanguage unchanged).
bool ChooseLanguage(const char* szFlag, bool bSystem);
// Writes the language in force to the settings file. False when it cannot be written.
bool SaveLanguage();
