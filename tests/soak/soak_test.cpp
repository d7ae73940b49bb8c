// The soak: random sessions played by the simulator, each twice. Every session must end
// cleanly with nothing on stderr (the sanitizer builds report there), no battle round may
// stall, and both runs must agree frame for frame. POMRIN_SOAK_FRAMES sets the total
// (default a short run for the test command; scripts/soak.sh runs a million) and
// POMRIN_SOAK_SEED the first session's seed (default 1; the following sessions count on). With
// POMRIN_SOAK_KEEP=DIR each session's files and its first run's trace and sound log stay in
// DIR/<seed>/ (the Windows build is checked against them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <tuple>

#include "soak_run.h"
#include "soak_script.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

// A round that has neither ended nor changed phase for this long is stuck: with both sides
// pressing keys a round is decided within a few thousand frames.
constexpr uint32_t kStallFrames = 40000;

uint32_t SoakFrames() {
    const char* sz = std::getenv("POMRIN_SOAK_FRAMES");
    return sz ? uint32_t(std::strtoul(sz, nullptr, 10)) : 24000;
}

uint64_t SoakFirstSeed() {
    const char* sz = std::getenv("POMRIN_SOAK_SEED");
    return sz && *sz ? uint64_t(std::strtoull(sz, nullptr, 10)) : 1;
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
    for (uint64_t qwSeed = SoakFirstSeed(); dwDone < dwTotal; ++qwSeed) {
        SCOPED_TRACE("session seed " + std::to_string(qwSeed));
        const SOAKSESSION s = MakeSoakSession(qwSeed, dwSession);
        SOAKRESULT a = RunSession(s, szDir + "/" + std::to_string(qwSeed), "");
        ASSERT_EQ(a.nExit, 0) << a.szStderr;
        ASSERT_EQ(a.szStderr, "");
        ASSERT_GT(a.dwFrames, 0u);
        EXPECT_LT(a.dwLongestStill, kStallFrames);
        const SOAKRESULT b = RunSession(s, szDir + "/again", "");
        ASSERT_EQ(b.nExit, 0) << b.szStderr;
        EXPECT_EQ(std::tie(a.dwFrames, a.qwTrace, a.szSounds, a.szOption),
                  std::tie(b.dwFrames, b.qwTrace, b.szSounds, b.szOption));
        if (!bKeep) fs::remove_all(szDir + "/" + std::to_string(qwSeed));
        dwDone += a.dwFrames;
        nBattles += a.nBattles;
        for (auto [n, dw] : a.SceneFrames) scenes[n] += dw;
        std::printf("seed %llu: %u frames, title %u select %u battle %u options %u, %u battles, still %u\n",
                    (unsigned long long)qwSeed, a.dwFrames, a.SceneFrames[0], a.SceneFrames[1],
                    a.SceneFrames[2], a.SceneFrames[3], a.nBattles, a.dwLongestStill);
    }
    std::error_code ec;
    fs::remove_all(szDir + "/again", ec);
    std::printf("soak: %u frames (each run twice), %u battles\n", dwDone, nBattles);
    // The sessions must have walked every scene.
    for (int nScene = 0; nScene < 4; ++nScene) EXPECT_GT(scenes[nScene], 0u) << "scene " << nScene;
    EXPECT_GT(nBattles, 0u);
}
