// The options screen with settings files that hold unusual values. (The battle mode the title
// derives from the setting is checked by the rollback soak, which fights every mode from both
// title rows.)
#include <gtest/gtest.h>

#include "support/sim_run.h"

namespace {

TEST(OptionsFile, EmptyFileGivesZerosAndWinsNeededWrapsBothWays) {
    SimRun sim;
    sim.WriteOption({});
    SimResult r =
        sim.Run(kToOptions + Taps({{90, "RIGHT"}, {92, "LEFT"}, {94, "RIGHT"}, {96, "LEFT"}}), "--frames 98");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[kOptionsMenu]), (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TraceValues(r.Trace[90])[0], 1);  // 0 + 1
    EXPECT_EQ(TraceValues(r.Trace[92])[0], 5);  // 1 - 1 = 0 is below the minimum
    EXPECT_EQ(TraceValues(r.Trace[94])[0], 1);  // 5 + 1 is above the maximum
    EXPECT_EQ(TraceValues(r.Trace[96])[0], 5);
}

// Speed 20 wraps to 1 and six more steps make 7, saved as the double 7.0 with the shot sound;
// everything else, padding and out-of-range values included, is written back as read.
TEST(OptionsFile, Speed20WrapsTo1AndSavingWritesTheDoubleAndKeepsThePadding) {
    SimRun sim;
    // Speed 20.0; COM level 9 and mode 7 lie outside their name tables.
    std::vector<unsigned char> in = OptionBytes(2, 9, 0x34, 0x40, 7);
    sim.WriteOption(in);
    std::vector<std::pair<int, const char*>> taps;
    for (int i = 0; i < 5; ++i) taps.push_back({90 + 2 * i, "DOWN"});
    for (int i = 0; i < 7; ++i) taps.push_back({100 + 2 * i, "RIGHT"});  // speed 20 -> 1 -> 7
    taps.push_back({114, "DOWN"});  // row 6, mode 7: no help text, nothing looked up
    taps.push_back({116, "DOWN"});  // row 7: left and right do nothing here
    taps.push_back({118, "RIGHT"});
    taps.push_back({120, "DOWN"});  // row 8
    taps.push_back({122, "LEFT"});
    taps.push_back({124, "UP"});  // row 7: save
    taps.push_back({126, "Z"});
    SimResult r = sim.Run(kToOptions + Taps(taps), "--frames 140");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[84]), (std::vector<int>{2, 3, 3, 3, 9, 20, 7}));
    EXPECT_EQ(TraceValues(r.Trace[100])[5], 1);
    EXPECT_EQ(TraceValues(r.Trace[112])[5], 7);
    EXPECT_EQ(SoundFrames(r, 0), (std::vector<int>{30, 32, 90, 92, 94, 96, 98, 100, 102, 104, 106, 108, 110,
                                                   112, 114, 116, 120, 124}));
    EXPECT_EQ(SoundFrames(r, 15), std::vector<int>{126});
    EXPECT_EQ(SoundFrames(r, 1), std::vector<int>{34});  // only the title's confirm
    EXPECT_EQ(TraceInt(r.Trace[139], "scene"), 3);       // saving stays in the menu
    std::vector<unsigned char> expected = in;
    expected[30] = 0x1C;  // 7.0
    expected[31] = 0x40;
    EXPECT_EQ(sim.ReadOption(), expected);
}

}  // namespace
