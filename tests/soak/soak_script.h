// Random sessions for the soak: settings and key files (sound, odd or damaged) and an input
// script that wanders through every scene. Seeded with a generator of its own, so the game's
// rand() sequence is untouched and every seed gives the same session.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SOAKSESSION {
    std::vector<uint8_t> Option;  // user_data/Option.dat; empty vector with bNoOption: no file
    bool bNoOption = false;
    std::vector<uint8_t> KeyFile;  // user_data/CustomKey.dat; none when empty
    std::string szScript;
    uint32_t dwFrames = 0;
};

// dwFrames is the most the session runs; one with a key file runs at most 8000, as a file
// binding player 1 to an absent joystick leaves the game waiting at the title.
// nTitleRow 0 or 1 opens the session with that title row (VS COM, two players) and nBattleMode
// 0..3 sets the mode in the settings file; -1 leaves either to chance.
SOAKSESSION MakeSoakSession(uint64_t qwSeed, uint32_t dwFrames, int nTitleRow = -1, int nBattleMode = -1);
