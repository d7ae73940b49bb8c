// One random session run by the simulator in a folder of its own, and what its trace showed.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "soak_script.h"

struct SOAKRESULT {
    int nExit = -1;
    std::string szStderr;
    uint64_t qwTrace = 1469598103934665603ull;  // FNV-1a of the trace
    std::string szSounds, szOption;
    uint32_t dwFrames = 0;
    std::map<int, uint32_t> SceneFrames;
    uint32_t nBattles = 0;
    uint32_t dwLongestStill = 0;       // longest battle stretch without a phase or win change
    std::set<int> ComModes, TwoModes;  // battle modes fought against the computer, by two players
};

// Runs the session in szDir (made afresh) with the simulator's extra arguments szArgs.
SOAKRESULT RunSession(const SOAKSESSION& s, const std::string& szDir, const std::string& szArgs);
