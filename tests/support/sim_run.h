// Runs pomrin-sim in a fresh temporary data folder (the build's pictures and sounds, its own
// user_data/) and reads back its trace and sound log. Header only: tests/support is no program.
#pragma once
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/files.h"

// Makes the data folder dir for a run: an empty user_data/ and the build's pictures and sounds.
inline void MakeDataFolder(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "user_data");
    LinkOrCopyFolder(std::filesystem::path(POMRIN_DATA_DIR) / "bmp", dir / "bmp");
    LinkOrCopyFolder(std::filesystem::path(POMRIN_DATA_DIR) / "wav", dir / "wav");
}

// The simulator's command line on the data folder dir, szArgs added.
inline std::string SimCommand(const std::filesystem::path& dir, const std::string& szArgs) {
    return ShellWord(std::string(POMRIN_BINARY_DIR) + "/tools/pomrin-sim") + " --data " + ShellWord(dir) +
           " " + szArgs;
}

struct SimResult {
    int nExit = -1;
    std::string szStderr, szTrace, szSounds;
    std::vector<std::string> Trace;           // one JSON object per frame
    std::vector<std::pair<int, int>> Sounds;  // (frame, sound number)
};

// Runs the simulator on the data folder szDir/data with szScript as its input script and szArgs
// added; its trace.jsonl, sounds.txt and stderr.txt go to the folder szOut.
inline SimResult RunSim(const std::string& szDir, const std::string& szOut, const std::string& szScript,
                        const std::string& szArgs) {
    std::ofstream(szDir + "/input.txt", std::ios::binary) << szScript;
    std::filesystem::create_directories(szOut);
    SimResult r;
    r.nExit =
        RunCommand(SimCommand(szDir + "/data", "--input " + ShellWord(szDir + "/input.txt") + " --trace " +
                                                   ShellWord(szOut + "/trace.jsonl") + " --sounds " +
                                                   ShellWord(szOut + "/sounds.txt") + " " + szArgs + " 2>" +
                                                   ShellWord(szOut + "/stderr.txt")));
    r.szStderr = ReadFileText(szOut + "/stderr.txt");
    // Standard error is a text stream: Windows ends its lines with CR LF.
    std::erase(r.szStderr, '\r');
    r.szTrace = ReadFileText(szOut + "/trace.jsonl");
    r.szSounds = ReadFileText(szOut + "/sounds.txt");
    std::istringstream trace(r.szTrace);
    for (std::string szLine; std::getline(trace, szLine);) r.Trace.push_back(szLine);
    std::istringstream sounds(r.szSounds);
    for (int nFrame, nSound; sounds >> nFrame >> nSound;) r.Sounds.emplace_back(nFrame, nSound);
    return r;
}

class SimRun {
  public:
    SimRun() : m_szDir(m_dir.path.string()) { MakeDataFolder(m_szDir + "/data"); }
    SimRun(const SimRun&) = delete;
    SimRun& operator=(const SimRun&) = delete;

    const std::string& Dir() const { return m_szDir; }
    std::string UserData(const char* szFile) const { return m_szDir + "/data/user_data/" + szFile; }
    // Writes user_data/Option.dat as given, however short or damaged.
    void WriteOption(const std::vector<unsigned char>& bytes) const {
        WriteBytes(UserData("Option.dat"), bytes);
    }
    // Makes user_data/CustomKey.dat from the shipped key file text for two players at one
    // keyboard, with the command the README gives. True when the tool succeeded.
    bool WriteTwoPlayerKeyFile() const {
        const std::string szCmd = std::string(POMRIN_BINARY_DIR) + "/tools/keymap write " + POMRIN_DATA_DIR +
                                  "/two-players-keyboard.txt " + UserData("CustomKey.dat");
        return std::system(szCmd.c_str()) == 0;
    }
    std::vector<unsigned char> ReadOption() const { return ReadBytes(UserData("Option.dat")); }
    // Runs with szScript as the input script and szArgs added to the command line.
    SimResult Run(const std::string& szScript, const std::string& szArgs) {
        std::filesystem::remove_all(m_szDir + "/out");
        return RunSim(m_szDir, m_szDir + "/out", szScript, szArgs);
    }

  private:
    TempDir m_dir;
    std::string m_szDir;
};

// Option.dat bytes: wins, defences 3, COM level, padding 11 22 33 44, the two top bytes of the
// speed (1.0: F0 3F, 20.0: 34 40), mode, padding 55 66 77 88.
inline std::vector<unsigned char> OptionBytes(unsigned char nWins, unsigned char nCom, unsigned char bSpeed6,
                                              unsigned char bSpeed7, unsigned char nMode) {
    return {nWins, 0, 0,       0,       3,     0, 0,    0,    3,    0,    0,    0,   3, 0,
            0,     0, nCom,    0,       0,     0, 0x11, 0x22, 0x33, 0x44, 0,    0,   0, 0,
            0,     0, bSpeed6, bSpeed7, nMode, 0, 0,    0,    0x55, 0x66, 0x77, 0x88};
}

// Taps: each key pressed on its frame and released on the next.
inline std::string Taps(const std::vector<std::pair<int, const char*>>& taps) {
    std::string s;
    for (const auto& [nFrame, szKey] : taps)
        s += std::to_string(nFrame) + " " + szKey + "\n" + std::to_string(nFrame + 1) + "\n";
    return s;
}

// Taps of the space-separated keys, one every nStep frames from nFrom.
inline std::string Taps(int nFrom, int nStep, const std::string& szKeys) {
    std::vector<std::pair<int, const char*>> taps;
    std::istringstream keys(szKeys);
    std::vector<std::string> names{std::istream_iterator<std::string>(keys), {}};
    for (const std::string& szKey : names) taps.push_back({nFrom + nStep * int(taps.size()), szKey.c_str()});
    return Taps(taps);
}

// From the title into the options: down twice to the options row, confirm on frame 34. Title
// fade-in 0..23, fade-out 35..58, scene 3 from 59, options fade-in 60..83, menu from 84.
inline const std::string kToOptions = Taps(30, 2, "DOWN DOWN Z");
constexpr int kOptionsMenu = 84;

// Integer after "key": at or after nFrom (a '[' before it is skipped); INT_MIN when absent.
inline int TraceInt(const std::string& szLine, const char* szKey, size_t nFrom = 0) {
    const std::string szFind = std::string("\"") + szKey + "\":";
    const size_t n = szLine.find(szFind, nFrom);
    if (n == std::string::npos) return INT_MIN;
    size_t i = n + szFind.size();
    if (szLine[i] == '[') i++;
    return std::atoi(szLine.c_str() + i);
}

// Integer of fighter nPlayer's "key" inside the trace's battle object.
inline int TraceFighter(const std::string& szLine, int nPlayer, const char* szKey) {
    const size_t n = szLine.find(nPlayer == 0 ? "\"p1\":" : "\"p2\":");
    return n == std::string::npos ? INT_MIN : TraceInt(szLine, szKey, n);
}

// Phase of the battle object, or -1 outside the battle.
inline int TracePhase(const std::string& szLine) {
    const size_t n = szLine.find("\"battle\":");
    return n == std::string::npos ? -1 : TraceInt(szLine, "phase", n);
}

// Values of "values":[...] in a trace line.
inline std::vector<int> TraceValues(const std::string& szLine) {
    std::vector<int> values;
    const size_t n = szLine.find("\"values\":[");
    if (n == std::string::npos) return values;
    std::istringstream list(szLine.substr(n + 10, szLine.find(']', n) - n - 10));
    for (std::string szItem; std::getline(list, szItem, ',');) values.push_back(std::atoi(szItem.c_str()));
    return values;
}

// Frames in which sound nSound played.
inline std::vector<int> SoundFrames(const SimResult& r, int nSound) {
    std::vector<int> frames;
    for (const auto& [nFrame, n] : r.Sounds)
        if (n == nSound) frames.push_back(nFrame);
    return frames;
}
