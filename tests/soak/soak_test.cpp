// The soak: random sessions played by the simulator, each twice. Every session must end
// cleanly with nothing on stderr (the sanitizer builds report there), no battle round may
// stall, and both runs must agree frame for frame. POMRIN_SOAK_FRAMES sets the total
// (default a short run for the test command; scripts/soak.sh runs a million). With
// POMRIN_SOAK_KEEP=DIR each session's files and its first run's trace and sound log stay in
// DIR/<seed>/ (the Windows build is checked against them).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "soak_script.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

// A round that has neither ended nor changed phase for this long is stuck: with both sides
// pressing keys a round is decided within a few thousand frames.
constexpr uint32_t kStallFrames = 40000;

struct SOAKRESULT {
    int nExit = -1;
    std::string szStderr;
    uint64_t qwTrace = 1469598103934665603ull;  // FNV-1a of the trace
    std::string szSounds, szOption;
    uint32_t dwFrames = 0;
    std::map<int, uint32_t> SceneFrames;
    uint32_t nBattles = 0;
    uint32_t dwLongestStill = 0;  // longest battle stretch without a phase or win change
};

std::string Slurp(const std::string& szFile) {
    std::ifstream in(szFile, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Field(const std::string& sz, const char* szKey, size_t nFrom = 0) {
    const size_t n = sz.find(szKey, nFrom);
    return n == std::string::npos ? -1 : std::atoi(sz.c_str() + n + std::strlen(szKey));
}

SOAKRESULT RunSession(const SOAKSESSION& s, const std::string& szDir) {
    fs::remove_all(szDir);
    fs::create_directories(szDir + "/data/user_data");
    LinkOrCopyFolder(fs::path(POMRIN_DATA_DIR) / "bmp", szDir + "/data/bmp");
    LinkOrCopyFolder(fs::path(POMRIN_DATA_DIR) / "wav", szDir + "/data/wav");
    auto Write = [&](const char* szName, const std::string& szBytes) {
        std::ofstream(szDir + "/" + szName, std::ios::binary) << szBytes;
    };
    if (!s.bNoOption) Write("data/user_data/Option.dat", std::string(s.Option.begin(), s.Option.end()));
    if (!s.KeyFile.empty()) Write("data/user_data/CustomKey.dat", std::string(s.KeyFile.begin(), s.KeyFile.end()));
    Write("input.txt", s.szScript);

    const std::string szCmd = ShellWord(std::string(POMRIN_BINARY_DIR) + "/tools/pomrin-sim") + " --data " +
                              ShellWord(szDir + "/data") + " --input " + ShellWord(szDir + "/input.txt") +
                              " --frames " + std::to_string(s.dwFrames) + " --sounds " +
                              ShellWord(szDir + "/sounds.txt") + " --trace " + ShellWord(szDir + "/trace.jsonl") +
                              " 2>" + ShellWord(szDir + "/stderr.txt");
    SOAKRESULT r;
    r.nExit = RunCommand(szCmd);
    std::ifstream trace(szDir + "/trace.jsonl", std::ios::binary);
    int nLastScene = -1, nPhase = -1, nWin0 = -1, nWin1 = -1;
    uint32_t dwStill = 0;
    for (std::string szLine; std::getline(trace, szLine);) {
        szLine += '\n';
        for (unsigned char c : szLine) r.qwTrace = (r.qwTrace ^ c) * 1099511628211ull;
        const int nScene = Field(szLine, "\"scene\":");
        r.dwFrames++;
        r.SceneFrames[nScene]++;
        if (nScene == 2) {
            const size_t nP2 = szLine.find("\"p2\":");
            const int p = Field(szLine, "\"phase\":"), w0 = Field(szLine, "\"win\":"),
                      w1 = Field(szLine, "\"win\":", nP2);
            if (nLastScene != 2) r.nBattles++;
            if (nLastScene != 2 || p != nPhase || w0 != nWin0 || w1 != nWin1) dwStill = 0;
            nPhase = p, nWin0 = w0, nWin1 = w1;
            if (++dwStill > r.dwLongestStill) r.dwLongestStill = dwStill;
        }
        nLastScene = nScene;
    }
    r.szStderr = Slurp(szDir + "/stderr.txt");
    r.szSounds = Slurp(szDir + "/sounds.txt");
    r.szOption = Slurp(szDir + "/data/user_data/Option.dat");
    return r;
}

uint32_t SoakFrames() {
    const char* sz = std::getenv("POMRIN_SOAK_FRAMES");
    return sz ? uint32_t(std::strtoul(sz, nullptr, 10)) : 24000;
}

}  // namespace

TEST(Soak, RandomSessionsEndCleanlyAndRepeatExactly) {
    const uint32_t dwTotal = SoakFrames();
    const uint32_t dwSession = dwTotal < 60000 ? dwTotal / 2 : 50000;
    TempDir temp;
    const char* szKeep = std::getenv("POMRIN_SOAK_KEEP");
    const bool bKeep = szKeep && *szKeep;
    const std::string szDir = bKeep ? std::string(szKeep) : temp.path.string();
    uint32_t dwDone = 0, nBattles = 0;
    std::map<int, uint32_t> scenes;
    for (uint64_t qwSeed = 1; dwDone < dwTotal; ++qwSeed) {
        SCOPED_TRACE("session seed " + std::to_string(qwSeed));
        const SOAKSESSION s = MakeSoakSession(qwSeed, dwSession);
        SOAKRESULT a = RunSession(s, szDir + "/" + std::to_string(qwSeed));
        ASSERT_EQ(a.nExit, 0) << a.szStderr;
        ASSERT_EQ(a.szStderr, "");
        ASSERT_GT(a.dwFrames, 0u);
        EXPECT_LT(a.dwLongestStill, kStallFrames);
        const SOAKRESULT b = RunSession(s, szDir + "/again");
        ASSERT_EQ(b.nExit, 0) << b.szStderr;
        EXPECT_EQ(a.dwFrames, b.dwFrames);
        EXPECT_EQ(a.qwTrace, b.qwTrace);
        EXPECT_EQ(a.szSounds, b.szSounds);
        EXPECT_EQ(a.szOption, b.szOption);
        if (!bKeep) fs::remove_all(szDir + "/" + std::to_string(qwSeed));
        dwDone += a.dwFrames;
        nBattles += a.nBattles;
        for (auto [n, dw] : a.SceneFrames) scenes[n] += dw;
        std::printf("seed %llu: %u frames, title %u select %u battle %u options %u, %u battles, still %u\n",
                    (unsigned long long)qwSeed, a.dwFrames, a.SceneFrames[0], a.SceneFrames[1], a.SceneFrames[2],
                    a.SceneFrames[3], a.nBattles, a.dwLongestStill);
    }
    std::error_code ec;
    fs::remove_all(szDir + "/again", ec);
    std::printf("soak: %u frames (each run twice), %u battles\n", dwDone, nBattles);
    // The sessions must have walked every scene.
    for (int nScene = 0; nScene < 4; ++nScene) EXPECT_GT(scenes[nScene], 0u) << "scene " << nScene;
    EXPECT_GT(nBattles, 0u);
}
