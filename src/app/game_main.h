// The program entry behind main(): start-up, the message loop and shut-down.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Takes --record FILE and --version from the UTF-8 arguments (program name first); finds the data
// folder; runs the game. Returns the exit code: 0 when the player quit (or the game already runs),
// 1 when it failed, 2 for a bad command line.
int GameMain(const std::vector<std::string>& args);
// The game itself from the single-instance guard to the release of everything, in the working
// directory as it is. szRecord: where --record writes (null: no recording).
int GameRun(const char* szRecord);

bool GameInit();
bool GameRelease();

// A net session's copy: runs beside another copy of the game (no single-instance guard).
extern bool g_bNoInstanceLock;

// Set by the simulator around each frame of the loop; null in the game.
// Before frame dwFrame: false means messages were queued and must be handled first.
extern bool (*g_lpfnBeforeFrame)(uint32_t dwFrame);
// After frame dwFrame ran.
extern void (*g_lpfnAfterFrame)(uint32_t dwFrame);
