// Which devices fill which input record, by scene and by who plays; and where the title
// cursor stands after backing out of character select.
#include <gtest/gtest.h>

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

TEST(InputTable, TitleReadsPlayer1FromJoystick0AndKeyboardOnly) {
    SimRun sim;
    SimResult r = sim.Run("30 LEFT J0=65535,32767,0 J1=0,0,0\n40 LEFT\n", "--frames 45");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceDir(r.Trace[30], 0), 6);  // the pushed joystick wins the direction
    EXPECT_EQ(TraceDir(r.Trace[40], 0), 4);  // at rest, the keyboard fills in
    EXPECT_EQ(TraceDir(r.Trace[40], 1), 0);  // player 2's record is never read here
}

TEST(InputTable, TwoPlayersUseKeyboardAndJoystick0OrTwoJoysticks) {
    SimRun sim;
    // Two players: down, confirm; character select runs from frame 60.
    std::string szScript = Taps({{30, "DOWN"}, {34, "Z"}}) +
                           "100 UP J0=65535,32767,0\n"
                           "110 UP J0=65535,32767,0 J1=32767,65535,0\n";
    SimResult r = sim.Run(szScript, "--frames 115");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    ASSERT_EQ(TraceInt(r.Trace[100], "scene"), 1);
    EXPECT_EQ(TraceDir(r.Trace[100], 0), 2);  // one joystick: player 1 on the keyboard
    EXPECT_EQ(TraceDir(r.Trace[100], 1), 6);  // player 2 on joystick 0
    EXPECT_EQ(TraceDir(r.Trace[110], 0), 6);  // two joysticks: the keyboard is not read
    EXPECT_EQ(TraceDir(r.Trace[110], 1), 8);
}

TEST(InputTable, VsComSelectLeavesPlayer2Unread) {
    SimRun sim;
    SimResult r = sim.Run(Taps({{34, "Z"}}) + "100 J0=65535,32767,0 J1=0,0,1\n", "--frames 105");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    ASSERT_EQ(TraceInt(r.Trace[100], "scene"), 1);
    EXPECT_EQ(TraceDir(r.Trace[100], 0), 6);
    EXPECT_EQ(TraceDir(r.Trace[100], 1), 0);
}

TEST(InputTable, KeyFileReadsPlayer2OnlyWhenTwoHumansPlay) {
    struct Case {
        const char* szName;
        std::string szScript;
        int nScene, nDir1, nDir2;  // keypad numbers: 2 up, 4 left, 0 never read
    };
    const Case cases[] = {
        {"title", "40 UP A\n", 0, 2, 0},
        {"two players", Taps({{30, "DOWN"}, {34, "Z"}}) + "100 UP A\n", 1, 2, 4},
        {"vs com", Taps({{34, "Z"}}) + "100 UP A\n", 1, 2, 0},
    };
    for (const Case& c : cases) {
        SimRun sim;
        // The shipped key file: player 1 on the arrows, player 2 on W A S D and 1 2 3 4.
        ASSERT_TRUE(sim.WriteTwoPlayerKeyFile());
        SimResult r = sim.Run(c.szScript, "--frames 105");
        ASSERT_EQ(r.nExit, 0) << r.szStderr;
        size_t n = c.nScene == 0 ? 40 : 100;
        EXPECT_EQ(TraceInt(r.Trace[n], "scene"), c.nScene) << c.szName;
        EXPECT_EQ(TraceDir(r.Trace[n], 0), c.nDir1) << c.szName;
        EXPECT_EQ(TraceDir(r.Trace[n], 1), c.nDir2) << c.szName;
    }
}

TEST(TitleCursor, BackFromSelectStandsOnTheRowThatStartedTheGame) {
    for (int nRow = 0; nRow < 2; ++nRow) {
        SimRun sim;
        std::string szScript =
            (nRow == 1 ? Taps({{30, "DOWN"}, {34, "Z"}}) : Taps({{34, "Z"}})) + Taps({{100, "X"}});
        SimResult r = sim.Run(szScript, "--frames 200");
        ASSERT_EQ(r.nExit, 0) << r.szStderr;
        size_t nBack = 0;
        for (size_t i = 100; i < r.Trace.size() && !nBack; ++i)
            if (TraceInt(r.Trace[i], "scene") == 0) nBack = i;
        ASSERT_NE(nBack, 0u) << "row " << nRow;
        EXPECT_EQ(TraceInt(r.Trace.back(), "row"), nRow);
        EXPECT_EQ(TraceInt(r.Trace.back(), "state"), 1);
    }
}

}  // namespace
