// The options screen with settings files that hold unusual values. (The battle mode the title
// derives from the setting is checked by the rollback soak, which fights every mode from both
// title rows.)
#include <gtest/gtest.h>
#include <tuple>

#include "support/sim_run.h"

namespace {

TEST(OptionsFile, EmptyFileGivesZerosAndWinsNeededWrapsBothWays) {
    SimRun sim;
    sim.WriteOption({});
    SimResult r = sim.Run(kToOptions + Taps(90, 2, "RIGHT LEFT RIGHT LEFT"), "--frames 98");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[kOptionsMenu]), (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
    // 0 + 1; 1 - 1 = 0 is below the minimum; 5 + 1 is above the maximum; and down again.
    std::vector<int> wins;
    for (int f : {90, 92, 94, 96}) wins.push_back(TraceValues(r.Trace[size_t(f)])[0]);
    EXPECT_EQ(wins, (std::vector<int>{1, 5, 1, 5}));
}

// Speed 20 wraps to 1 and six more steps make 7, saved as the double 7.0 with the shot sound;
// everything else, padding and out-of-range values included, is written back as read. The
// language switched on row 7 is saved beside it and read back at the next start.
TEST(OptionsFile, Speed20WrapsTo1AndSavingWritesTheDoubleAndKeepsThePadding) {
    SimRun sim;
    // Speed 20.0; COM level 9 and mode 7 lie outside their name tables.
    std::vector<unsigned char> in = OptionBytes(2, 9, 0x34, 0x40, 7);
    sim.WriteOption(in);
    // From frame 90, every other frame: down to row 5, speed 20 -> 1 -> 7; row 6 (mode 7: no help
    // text, nothing looked up); row 7, the language, Japanese -> English; row 8, where left and
    // right do nothing; row 9, left; back up to row 8, save.
    SimResult r =
        sim.Run(kToOptions + Taps(90, 2,
                                  "DOWN DOWN DOWN DOWN DOWN RIGHT RIGHT RIGHT RIGHT RIGHT RIGHT RIGHT "
                                  "DOWN DOWN RIGHT DOWN RIGHT DOWN LEFT UP Z"),
                "--frames 144");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[84]), (std::vector<int>{2, 3, 3, 3, 9, 20, 7}));
    EXPECT_EQ(TraceValues(r.Trace[100])[5], 1);
    EXPECT_EQ(TraceValues(r.Trace[112])[5], 7);
    EXPECT_EQ(SoundFrames(r, 0), (std::vector<int>{30,  32,  90,  92,  94,  96,  98,  100, 102, 104,
                                                   106, 108, 110, 112, 114, 116, 118, 120, 124, 128}));
    EXPECT_EQ(SoundFrames(r, 15), std::vector<int>{130});
    EXPECT_EQ(SoundFrames(r, 1), std::vector<int>{34});  // only the title's confirm
    EXPECT_EQ(TraceInt(r.Trace[143], "scene"), 3);       // saving stays in the menu
    std::vector<unsigned char> expected = in;
    expected[30] = 0x1C;  // 7.0
    expected[31] = 0x40;
    EXPECT_EQ(sim.ReadOption(), expected);
    EXPECT_EQ(ReadFileText(sim.UserData("Settings.txt")), "language en\n");

    // The next start reads the language back: its title is the one --lang en draws, and not
    // the Japanese one the flag still asks for.
    auto Title = [](SimRun& run, const std::string& szArgs) {
        const std::string szShots = run.Dir() + "/title" + std::to_string(szArgs.size());
        EXPECT_EQ(run.Run("", szArgs + " --frames 30 --shots " + szShots + " --shot-frames 29").nExit, 0);
        return ReadFileText(szShots + "/000029.png");
    };
    SimRun fresh;
    const std::string szSaved = Title(sim, "");
    ASSERT_FALSE(szSaved.empty());
    EXPECT_EQ(szSaved, Title(fresh, "--lang en"));
    EXPECT_NE(szSaved, Title(sim, "--lang ja"));
}

}  // namespace
