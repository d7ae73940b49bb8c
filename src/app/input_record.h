// --record: the keys and joysticks the game reads each frame, written as an input script
// so that the simulator replays the run frame for frame.
#pragma once
#include <cstdint>

// False when the file cannot be written.
bool RecordOpen(const char* szFile);
// Samples the devices for frame dwFrame and writes a line when they changed.
void RecordFrame(uint32_t dwFrame);
// The window was closed from outside before frame dwFrame: the replay presses Escape there.
void RecordEscape(uint32_t dwFrame);
void RecordClose();
