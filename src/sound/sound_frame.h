// Inside the sound subsystem: the frame-keyed filter DSPlay asks before it plays.
#pragma once
#include <cstdint>

// True when a play of sound nSound (an index into g_Sound, -1 for a group outside it) in the
// frame begun last should sound now; counts it.
bool DSFrameAllows(int32_t nSound);
