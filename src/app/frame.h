// The frame: scene numbers and dispatch, frame pacing, the input reading of each frame,
// and the close request that ends the program through the window's normal path.
#pragma once
#include <cstdint>

// Values of g_nScene.
enum {
    SCENE_TITLE = 0,
    SCENE_SELECT = 1,
    SCENE_BATTLE = 2,
    SCENE_OPTION = 3,
};

// Rows of the title menu, the values of g_nTitleSelect.
enum { TITLE_ROW_VS_COM = 0, TITLE_ROW_TWO_PLAYERS = 1, TITLE_ROW_OPTIONS = 2, TITLE_ROW_QUIT = 3 };

struct OPTIONSCENE;

extern int32_t g_nScene;         // the scene to run this frame
extern int32_t g_nNextScene;     // where a finishing title or select goes
extern int32_t g_nTitleSelect;   // title row confirmed last: TITLE_ROW_*
extern uint8_t g_bActive;        // the window is the active one; frames run only then
extern uint8_t g_bReady;         // start-up succeeded; repaints only then
extern int32_t g_bFrameLimit;    // the software frame limiter is on
extern OPTIONSCENE* g_lpOption;  // the options scene object while that scene is on screen

// Pacing state: the earliest start of the next frame and the time last read.
extern uint32_t g_dwNextFrame;
extern uint32_t g_dwLastTime;
// Calls of GameFrame so far: the number of the frame about to run.
extern uint32_t g_dwFrameCount;

// One frame of the game. False ends the program.
bool GameFrame();
// True when a new frame may start (and books the next one); nFps 0 always true.
bool FrameLimit(uint32_t nFps);
// Waits until FrameLimit(nFps) lets the next frame start.
void FrameWait(uint32_t nFps);
// Forgets the pacing state, so the next FrameLimit starts afresh (start-up, tests).
void FrameLimitReset();

// Asks the window to close: destruction, then the quit message, then the loop ends.
void PostClose();
// The same when something the game needs failed to load: the program ends with exit code 1.
void PostCloseFailed();

// Copies the back buffer to the screen and shows it.
void PresentBackBuffer();

// Two humans play: the select or battle scene after the two-player title row.
bool IsTwoHumans();

// The entry the title, select and battle scenes share, on the scene's own step variable:
// -1 release (which switches g_nScene), 0 load and run in the same frame, 1 run; any other
// value does nothing. False only when the load failed.
bool SceneMain(int32_t* lpStep, bool (*lpfnLoad)(), void (*lpfnRun)(), void (*lpfnRelease)());
