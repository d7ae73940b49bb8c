// One JSON Lines object per frame for --trace.
#pragma once
#include <cstdint>
#include <string>

std::string TraceLine(uint32_t dwFrame);
