// One JSON Lines object per frame for --trace.
#pragma once
#include <cstdint>
#include <string>

std::string TraceLine(uint32_t dwFrame);
// ",\"menu\":{...}" while the title or the options run: state (the title phase, the options state), row,
// and the options' values being edited; in select and battle ",\"mode\":N", the battle mode
// of the game in progress.
std::string TraceMenu();
