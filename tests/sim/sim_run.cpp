#include "sim_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

SimRun::SimRun() {
    char szTemplate[] = "/tmp/pomrin_sim_XXXXXX";
    m_szDir = mkdtemp(szTemplate);
    fs::create_directories(m_szDir + "/data/user_data");
    fs::create_directory_symlink(fs::path(POMRIN_DATA_DIR) / "bmp", m_szDir + "/data/bmp");
    fs::create_directory_symlink(fs::path(POMRIN_DATA_DIR) / "wav", m_szDir + "/data/wav");
}

SimRun::~SimRun() {
    std::error_code ec;
    fs::remove_all(m_szDir, ec);
}

void SimRun::WriteOption(const std::vector<unsigned char>& bytes) const {
    std::ofstream(UserData("Option.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

static std::string ReadFile(const std::string& szFile) {
    std::ifstream in(szFile, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<unsigned char> SimRun::ReadOption() const {
    std::string s = ReadFile(UserData("Option.dat"));
    return std::vector<unsigned char>(s.begin(), s.end());
}

SimResult SimRun::Run(const std::string& szScript, const std::string& szArgs) {
    std::ofstream(m_szDir + "/input.txt") << szScript;
    for (const char* sz : {"/trace.jsonl", "/sounds.txt", "/stderr.txt"}) fs::remove(m_szDir + sz);
    std::string szCmd = std::string(POMRIN_BINARY_DIR) + "/tools/pomrin-sim --data " + m_szDir +
                        "/data --input " + m_szDir + "/input.txt --trace " + m_szDir +
                        "/trace.jsonl --sounds " + m_szDir + "/sounds.txt " + szArgs + " 2>" + m_szDir +
                        "/stderr.txt";
    SimResult r;
    int nStatus = std::system(szCmd.c_str());
    r.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    r.szStderr = ReadFile(m_szDir + "/stderr.txt");
    std::istringstream trace(ReadFile(m_szDir + "/trace.jsonl"));
    for (std::string szLine; std::getline(trace, szLine);) r.Trace.push_back(szLine);
    std::istringstream sounds(ReadFile(m_szDir + "/sounds.txt"));
    for (int nFrame, nSound; sounds >> nFrame >> nSound;) r.Sounds.emplace_back(nFrame, nSound);
    return r;
}

std::string Taps(const std::vector<std::pair<int, const char*>>& taps) {
    std::string s;
    for (const auto& [nFrame, szKey] : taps)
        s += std::to_string(nFrame) + " " + szKey + "\n" + std::to_string(nFrame + 1) + "\n";
    return s;
}

int TraceInt(const std::string& szLine, const char* szKey) {
    std::string szFind = std::string("\"") + szKey + "\":";
    size_t n = szLine.find(szFind);
    if (n == std::string::npos) return INT_MIN;
    return std::atoi(szLine.c_str() + n + szFind.size());
}

std::vector<int> TraceValues(const std::string& szLine) {
    std::vector<int> values;
    size_t n = szLine.find("\"values\":[");
    if (n == std::string::npos) return values;
    std::istringstream list(szLine.substr(n + 10, szLine.find(']', n) - n - 10));
    for (std::string szItem; std::getline(list, szItem, ',');) values.push_back(std::atoi(szItem.c_str()));
    return values;
}

std::vector<int> SoundFrames(const SimResult& r, int nSound) {
    std::vector<int> frames;
    for (const auto& [nFrame, n] : r.Sounds)
        if (n == nSound) frames.push_back(nFrame);
    return frames;
}
