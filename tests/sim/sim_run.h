// Runs pomrin-sim in a fresh data folder (the build's pictures and sounds, an empty
// user_data/) and reads back what it wrote.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct SimResult {
    int nExit = -1;
    std::string szStderr;
    std::vector<std::string> Trace;           // one JSON object per frame
    std::vector<std::pair<int, int>> Sounds;  // (frame, sound number)
};

class SimRun {
  public:
    SimRun();
    ~SimRun();
    const std::string& Dir() const { return m_szDir; }
    std::string UserData(const char* szFile) const { return m_szDir + "/data/user_data/" + szFile; }
    // Writes user_data/Option.dat: the given bytes, as a damaged or short file may hold them.
    void WriteOption(const std::vector<unsigned char>& bytes) const;
    std::vector<unsigned char> ReadOption() const;
    // Runs with szScript as the input script and szArgs added to the command line.
    SimResult Run(const std::string& szScript, const std::string& szArgs);

  private:
    std::string m_szDir;
};

// Taps: each key pressed on its frame and released on the next.
std::string Taps(const std::vector<std::pair<int, const char*>>& taps);
// Integer value of "key":N in a trace line, or INT32_MIN when absent.
int TraceInt(const std::string& szLine, const char* szKey);
// Values of "values":[...] in a trace line.
std::vector<int> TraceValues(const std::string& szLine);
// Frames in which sound nSound played.
std::vector<int> SoundFrames(const SimResult& r, int nSound);
