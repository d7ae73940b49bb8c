// The rollback self-test over random sessions: every select and battle frame rolls the last
// eight frames back after simulating them with wrong inputs, and must come out exactly as
// before. Sessions open on each title row with each battle mode, so every mode is fought by
// two players and against the computer with whatever skills the random menus pick; the run
// must also leave the trace and the sounds of a run without rollbacks unchanged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "soak_run.h"
#include "soak_script.h"
#include "support/files.h"


TEST(Soak, RollingBackEightFramesChangesNothing) {
    TempDir temp;
    const std::string szDir = temp.path.string();
    std::set<int> com, two;
    for (int nSession = 0; nSession < 8; ++nSession) {
        const int nRow = nSession % 2, nMode = nSession / 2;
        SCOPED_TRACE("title row " + std::to_string(nRow) + ", mode " + std::to_string(nMode));
        // Seeds whose random menus reach a battle from that row.
        const SOAKSESSION s = MakeSoakSession(nRow == 0 ? 100 : 105, 6000, nRow, nMode);
        const SOAKRESULT plain = RunSession(s, szDir + "/plain", "");
        const SOAKRESULT back = RunSession(s, szDir + "/back", "--rollback-test 8");
        ASSERT_EQ(back.nExit, 0) << back.szStderr;
        EXPECT_EQ(back.szStderr, "");
        EXPECT_EQ(back.dwFrames, plain.dwFrames);
        EXPECT_EQ(back.qwTrace, plain.qwTrace);
        EXPECT_EQ(back.szSounds, plain.szSounds);
        com.insert(back.ComModes.begin(), back.ComModes.end());
        two.insert(back.TwoModes.begin(), back.TwoModes.end());
    }
    // Against the computer trick and shooting play as normal battle.
    EXPECT_EQ(two, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(com, (std::set<int>{0, 3}));
}
