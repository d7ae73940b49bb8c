// Which devices fill which input record, by scene and by who plays.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "support/sim_run.h"

namespace {

// nDir of record nPlayer in a trace line ("input":[[wDir,nDir,wButton],[...]]).
int TraceDir(const std::string& szLine, int nPlayer) {
    size_t n = szLine.find("\"input\":[[");
    if (n == std::string::npos) return INT_MIN;
    n += 10;
    if (nPlayer == 1) n = szLine.find("],[", n) + 3;
    n = szLine.find(',', n) + 1;
    return std::atoi(szLine.c_str() + n);
}

// Each case checks frames of one run: {frame, scene, player 1's nDir, player 2's nDir}, in
// keypad numbers (2 up, 4 left, 6 right, 8 down, 0 never read). With the key file (the shipped
// one: player 1 on the arrows, player 2 on W A S D and 1 2 3 4) player 2 is read only when two
// humans play; without it the title reads player 1 from joystick 0 or else the keyboard, two
// players use the keyboard and joystick 0 or, with two joysticks, both joysticks, and VS COM
// leaves player 2 unread.
TEST(InputTable, DevicesFillTheRecordsBySceneAndWhoPlays) {
    const std::string szTwo = Taps({{30, "DOWN"}, {34, "Z"}}), szCom = Taps({{34, "Z"}});
    const struct {
        const char* szName;
        bool bKeyFile;
        std::string szScript;
        std::vector<std::array<int, 4>> checks;
    } cases[] = {
        {"title", false, "30 LEFT J0=65535,32767,0 J1=0,0,0\n40 LEFT\n", {{30, 0, 6, 0}, {40, 0, 4, 0}}},
        {"two players",
         false,
         szTwo + "100 UP J0=65535,32767,0\n110 UP J0=65535,32767,0 J1=32767,65535,0\n",
         {{100, 1, 2, 6}, {110, 1, 6, 8}}},
        {"vs com", false, szCom + "100 J0=65535,32767,0 J1=0,0,1\n", {{100, 1, 6, 0}}},
        {"key file, title", true, "40 UP A\n", {{40, 0, 2, 0}}},
        {"key file, two players", true, szTwo + "100 UP A\n", {{100, 1, 2, 4}}},
        {"key file, vs com", true, szCom + "100 UP A\n", {{100, 1, 2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        SimRun sim;
        if (c.bKeyFile) {
            ASSERT_TRUE(sim.WriteTwoPlayerKeyFile());
        }
        SimResult r = sim.Run(c.szScript, "--frames " + std::to_string(c.checks.back()[0] + 5));
        ASSERT_EQ(r.nExit, 0) << r.szStderr;
        for (const auto& [nFrame, nScene, nDir1, nDir2] : c.checks) {
            EXPECT_EQ(TraceInt(r.Trace[size_t(nFrame)], "scene"), nScene) << nFrame;
            EXPECT_EQ(TraceDir(r.Trace[size_t(nFrame)], 0), nDir1) << nFrame;
            EXPECT_EQ(TraceDir(r.Trace[size_t(nFrame)], 1), nDir2) << nFrame;
        }
    }
}

}  // namespace
