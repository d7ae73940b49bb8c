// One JSON Lines object per frame for --trace.
#pragma once
#include <cstdint>
#include <string>

std::string TraceLine(uint32_t dwFrame);
// ",\"menu\":{...}" while the title or the options run: phase (options: state), cursor row,
// and the options' values being edited; "" in other scenes.
std::string TraceMenu();
