// The frame: scene numbers and dispatch, frame pacing, the input reading of each frame,
// and the close request that ends the program through the window's normal path.
#pragma once
#include <cstdint>

#include "app/scene_state.h"

extern uint8_t g_bActive;        // the window is the active one; frames run only then
extern uint8_t g_bReady;         // start-up succeeded; repaints only then
extern int32_t g_bFrameLimit;    // the software frame limiter is on

// Pacing state: the earliest start of the next frame and the time last read.
extern uint32_t g_dwNextFrame;
extern uint32_t g_dwLastTime;
// Calls of GameFrame so far: the number of the frame about to run.
extern uint32_t g_dwFrameCount;

// One frame of the game: pacing, the local devices, the scene, the picture. False ends the program.
bool GameFrame();
// A frame run by someone else in place of the local one (a net session, a replay); null when the
// game plays locally. GameFrame calls it when set.
extern bool (*g_lpfnSessionFrame)();
// The window has the input focus. While a session runs frames, the window counts as active
// even without it (the other machine cannot wait), and the local player reads as released.
extern uint8_t g_bHasFocus;
// The raw input words (INPUT_RAW_*, input/input.h) the last GameFrame ran with.
extern uint32_t g_dwFrameInput[2];
// Reads the local devices as a frame does (the reader table of the frame; bTwoHumans chooses
// the two-player rows) into one raw word per player; INPUT_RAW_NONE for a record not read.
void ReadInputWords(bool bTwoHumans, uint32_t dwRaw[2]);
// The simulation of one frame with the given raw inputs: the words go into g_Input, the scene
// runs (drawing unless g_bDrawOff) and the palette is uploaded. No pacing, no devices, no
// present. False ends the program (a scene could not load its pictures).
bool GameStep(const uint32_t dwRaw[2]);
// True when a new frame may start (and books the next one); nFps 0 always true.
bool FrameLimit(uint32_t nFps);
// Waits until FrameLimit(nFps) lets the next frame start.
void FrameWait(uint32_t nFps);
// Forgets the pacing state, so the next FrameLimit starts afresh (start-up, tests).
void FrameLimitReset();

// Frees the resources of the scene on screen when the window goes away (the scene table's
// release of g_nScene).
void ReleaseScene();

// Copies the back buffer to the screen and shows it.
void PresentBackBuffer();
