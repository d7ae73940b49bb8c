// The scene state every scene and the frame share: which scene runs, where a finishing scene
// goes, the title row that started the game, and the entry protocol of the three main scenes.
// Scenes include this instead of the frame, so the frame may include the scenes.
#pragma once
#include <cstdint>

struct OPTIONSCENE;
struct STATEBUF;

// Values of g_nScene.
enum {
    SCENE_TITLE = 0,
    SCENE_SELECT = 1,
    SCENE_BATTLE = 2,
    SCENE_OPTION = 3,
    SCENE_ONLINE = 4,  // the online screen (builds with online play)
};

// What the title row confirmed last was, the values of g_nTitleSelect. The four-row title
// shows them in this order; with online play the online row stands third (TitleRowOf).
enum {
    TITLE_ROW_VS_COM = 0,
    TITLE_ROW_TWO_PLAYERS = 1,
    TITLE_ROW_OPTIONS = 2,
    TITLE_ROW_QUIT = 3,
    TITLE_ROW_ONLINE = 4,
};

extern int32_t g_nScene;        // the scene to run this frame
extern int32_t g_nNextScene;    // where a finishing title or select goes
extern int32_t g_nTitleSelect;  // title row confirmed last: TITLE_ROW_*
// The title has its fifth row, online play: set once at start-up by a build that has it.
extern bool g_bTitleOnline;
// The cursor row on the title of a TITLE_ROW_* value, and the value of a cursor row.
int32_t TitleRowOf(int32_t nSelect);
int32_t TitleSelectOf(int32_t nRow);
// The options scene object while that scene is on screen. Not part of the saved state: the
// options scene is never re-simulated (it edits and writes the settings file).
extern OPTIONSCENE* g_lpOption;

// Two humans play: the select or battle scene after the two-player title row.
bool IsTwoHumans();

// The entry the title, select and battle scenes share, on the scene's own step variable:
// -1 release (which switches g_nScene), 0 load and run in the same frame, 1 run; any other
// value does nothing. False only when the load failed.
bool SceneMain(int32_t* lpStep, bool (*lpfnLoad)(), void (*lpfnRun)(), void (*lpfnRelease)());

// A close the game asked for: -1 none, else the exit code it carries. The message loop takes it
// before any queued message and closes the window (destruction, the quit message, the end).
extern int32_t g_nCloseRequest;
// Asks the window to close; the program ends with exit code 0.
void PostClose();
// The same when something the game needs failed to load: the program ends with exit code 1.
void PostCloseFailed();

// Saves or restores g_nScene, g_nNextScene and g_nTitleSelect.
void SceneStateIo(STATEBUF* lpBuf);
