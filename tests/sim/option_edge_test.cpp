// The options screen with settings files that hold unusual values. (The battle mode the title
// derives from the setting is checked by the rollback soak, which fights every mode from both
// title rows.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST(OptionsFile, Speed20WrapsTo1AndSavingKeepsThePaddingAsRead) {
    SimRun sim;
    // Speed 20.0; COM level 9 and mode 7 lie outside their name tables.
    std::vector<unsigned char> in = OptionBytes(2, 9, 0x34, 0x40, 7);
    sim.WriteOption(in);
    std::vector<std::pair<int, const char*>> taps;
    for (int i = 0; i < 5; ++i) taps.push_back({90 + 2 * i, "DOWN"});
    taps.push_back({100, "RIGHT"});  // speed 20 -> 1
    taps.push_back({102, "DOWN"});   // row 6, mode 7: no help text, nothing looked up
    taps.push_back({104, "DOWN"});   // row 7: the language, Japanese -> English
    taps.push_back({106, "RIGHT"});
    taps.push_back({108, "DOWN"});  // row 8: left and right do nothing here
    taps.push_back({110, "RIGHT"});
    taps.push_back({112, "DOWN"});  // row 9
    taps.push_back({114, "LEFT"});
    taps.push_back({116, "UP"});  // row 8: save
    taps.push_back({118, "Z"});
    SimResult r = sim.Run(kToOptions + Taps(taps), "--frames 124");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[84]), (std::vector<int>{2, 3, 3, 3, 9, 20, 7}));
    EXPECT_EQ(TraceValues(r.Trace[100])[5], 1);
    EXPECT_EQ(SoundFrames(r, 0),
              (std::vector<int>{30, 32, 90, 92, 94, 96, 98, 100, 102, 104, 106, 108, 112, 116}));
    EXPECT_EQ(SoundFrames(r, 15), std::vector<int>{118});

    std::vector<unsigned char> out = sim.ReadOption();
    ASSERT_EQ(out.size(), 40u);
    std::vector<unsigned char> expected = in;
    expected[30] = 0xF0;  // 1.0
    expected[31] = 0x3F;
    EXPECT_EQ(out, expected);
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

TEST(OptionsFile, ModeChangeOnRow6ShowsItsHelpInTheSameFrame) {
    SimRun sim;
    std::vector<std::pair<int, const char*>> taps;
    for (int i = 0; i < 6; ++i) taps.push_back({90 + 2 * i, "DOWN"});
    taps.push_back({110, "RIGHT"});  // normal -> trick battle
    SimResult r = sim.Run(kToOptions + Taps(taps),
                          "--frames 116 --shots " + sim.Dir() + "/shots --shot-frames 109,110,115");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[110])[6], 1);
    auto Shot = [&](const char* szName) {
        std::ifstream in(sim.Dir() + "/shots/" + szName, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    std::string szBefore = Shot("000109.png"), szAt = Shot("000110.png"), szAfter = Shot("000115.png");
    ASSERT_FALSE(szAt.empty());
    EXPECT_NE(szBefore, szAt);
    EXPECT_EQ(szAt, szAfter);
}

}  // namespace
