// The whole game driven through the simulator: title, options, quitting, start-up paths.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/sim_run.h"

namespace {

// Two players from the title; player 1 (keyboard) and player 2 (joystick 0) each confirm a
// character and their skills: the battle runs from about frame 200.
const std::string kToBattle = Taps({{30, "DOWN"}, {35, "Z"}, {100, "Z"}}) +
                              "105 J0=32767,32767,1\n106 J0=32767,32767,0\n" + Taps({{115, "Z"}}) +
                              "120 J0=32767,32767,1\n121 J0=32767,32767,0\n";

TEST(Title, FadeInCompletesOnIts24thFrameAndIgnoresButton1) {
    SimRun sim;
    SimResult r = sim.Run(Taps({{5, "Z"}}), "--frames 80");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    ASSERT_EQ(r.Trace.size(), 80u);
    EXPECT_EQ(TraceInt(r.Trace[22], "state"), 0);
    EXPECT_EQ(TraceInt(r.Trace[23], "state"), 1);
    for (const std::string& line : r.Trace) EXPECT_EQ(TraceInt(line, "scene"), 0);
    EXPECT_TRUE(SoundFrames(r, 1).empty());
    EXPECT_EQ(TraceInt(r.Trace[79], "row"), 0);
}

TEST(Title, HeldDownRepeatsOnFrames1_25_33_41AndWraps) {
    SimRun sim;
    SimResult r = sim.Run("30 DOWN\n80\n", "--frames 90");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(SoundFrames(r, 0), (std::vector<int>{30, 54, 62, 70, 78}));
    EXPECT_EQ(TraceInt(r.Trace[30], "row"), 1);
    EXPECT_EQ(TraceInt(r.Trace[54], "row"), 2);
    EXPECT_EQ(TraceInt(r.Trace[62], "row"), 3);
    EXPECT_EQ(TraceInt(r.Trace[69], "row"), 3);
    EXPECT_EQ(TraceInt(r.Trace[70], "row"), 0);
}

TEST(Options, EnteredAfterTheTitleFadeOutWithDefaultsWhenNoFilesExist) {
    SimRun sim;
    SimResult r = sim.Run(kToOptions, "--frames 100");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceInt(r.Trace[58], "scene"), 0);
    EXPECT_EQ(TraceInt(r.Trace[59], "scene"), 3);
    EXPECT_EQ(TraceInt(r.Trace[kOptionsMenu - 1], "state"), 1);
    EXPECT_EQ(TraceInt(r.Trace[kOptionsMenu - 2], "state"), 0);
    EXPECT_EQ(TraceValues(r.Trace[kOptionsMenu]), (std::vector<int>{3, 3, 3, 3, 2, 1, 0}));
    EXPECT_FALSE(std::filesystem::exists(sim.UserData("Option.dat")));
}

TEST(Options, GameSpeed7IsSavedAsTheDouble7WithTheShotSound) {
    SimRun sim;
    std::vector<std::pair<int, const char*>> taps;
    for (int i = 0; i < 5; ++i) taps.push_back({90 + 2 * i, "DOWN"});
    for (int i = 0; i < 6; ++i) taps.push_back({100 + 2 * i, "RIGHT"});
    for (int i = 0; i < 3; ++i) taps.push_back({112 + 2 * i, "DOWN"});  // to row 8
    taps.push_back({118, "Z"});
    SimResult r = sim.Run(kToOptions + Taps(taps), "--frames 130");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(TraceValues(r.Trace[110])[5], 7);
    EXPECT_EQ(SoundFrames(r, 15), std::vector<int>{118});
    EXPECT_EQ(SoundFrames(r, 1), std::vector<int>{34});  // only the title's confirm
    EXPECT_EQ(TraceInt(r.Trace[129], "scene"), 3);       // saving stays in the menu

    std::ifstream in(sim.UserData("Option.dat"), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<unsigned char> expected = {3, 0, 0,    0,    3, 0, 0, 0, 3, 0, 0, 0, 3, 0,
                                                 0, 0, 2,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                 0, 0, 0x1C, 0x40, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
}

TEST(Options, LeavingByCancelOrBackKeepsChangesInMemoryAndReturnsToTheOptionsRow) {
    // Wins 3 -> 4 on row 0, then leave on frame c: fade-out c+1..c+24, the title loads at
    // c+25 and fades in until c+48 with its cursor on the options row; confirming that row at
    // c+53 re-enters the options at c+78, still showing wins 4. No file is written.
    struct Case {
        const char* szName;
        std::vector<std::pair<int, const char*>> taps;
        int c, nSound;
    };
    const Case cases[] = {
        {"cancel", {{90, "RIGHT"}, {92, "X"}}, 92, 2},
        // Up from row 0 wraps to row 9 ("back"); right there does nothing; confirm applies.
        {"back", {{86, "RIGHT"}, {90, "UP"}, {92, "RIGHT"}, {94, "Z"}}, 94, 1},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.szName);
        SimRun sim;
        auto taps = t.taps;
        taps.push_back({t.c + 53, "Z"});
        SimResult r = sim.Run(kToOptions + Taps(taps), "--frames " + std::to_string(t.c + 80));
        ASSERT_EQ(r.nExit, 0) << r.szStderr;
        EXPECT_EQ(SoundFrames(r, t.nSound).at(t.nSound == 1 ? 1 : 0), t.c);
        EXPECT_EQ(SoundFrames(r, 0).size(), t.nSound == 1 ? 4u : 3u);  // the right on row 9 is silent
        EXPECT_EQ(TraceInt(r.Trace[t.c + 23], "scene"), 3);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 24], "scene"), 0);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 47], "state"), 0);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 48], "state"), 1);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 49], "row"), 2);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 77], "scene"), 0);
        EXPECT_EQ(TraceInt(r.Trace[t.c + 78], "scene"), 3);
        EXPECT_EQ(TraceValues(r.Trace[t.c + 79]), (std::vector<int>{4, 3, 3, 3, 2, 1, 0}));
        EXPECT_FALSE(std::filesystem::exists(sim.UserData("Option.dat")));
    }
}

TEST(Shutdown, EscapeFromEverySceneOrTheQuitRowEndsTheGameAtOnce) {
    struct Case {
        const char* szName;
        std::string szScript;
        int nFrames;
        int nScene;
    };
    const Case cases[] = {
        {"title", "10 ESCAPE\n", 10, 0},
        {"quit row", Taps({{30, "DOWN"}, {32, "DOWN"}, {34, "DOWN"}, {36, "Z"}}), 37, 0},
        {"options", kToOptions + "90 ESCAPE\n", 90, 3},
        {"select", Taps({{30, "Z"}}) + "70 ESCAPE\n", 70, 1},
        {"battle", kToBattle + "400 ESCAPE\n", 400, 2},
    };
    for (const Case& c : cases) {
        SimRun sim;
        SimResult r = sim.Run(c.szScript, "--frames 1000");
        EXPECT_EQ(r.nExit, 0) << c.szName;
        ASSERT_EQ(int(r.Trace.size()), c.nFrames) << c.szName;
        EXPECT_EQ(TraceInt(r.Trace.back(), "scene"), c.nScene) << c.szName;
    }
}

TEST(Startup, SecondCopyExits0AndFailuresExit1WithTheirBoxes) {
    const struct {
        const char* szArgs;
        const char* szBox;
        int nExit;
    } cases[] = {
        {"--second-copy", "二重起動: 既に起動しています", 0},
        {"--fail video", "エラー: ウインドウクラスの登録に失敗！", 1},
        {"--fail window", "エラー: ウインドウクラスの生成に失敗！", 1},
        {"--fail audio", "エラー: ゲーム全体の初期設定に失敗！", 1},
    };
    for (const auto& [szArgs, szBox, nExit] : cases) {
        SimRun sim;
        SimResult r = sim.Run("", std::string(szArgs) + " --frames 10");
        EXPECT_EQ(r.nExit, nExit) << szArgs;
        EXPECT_EQ(r.szStderr, std::string(szBox) + "\n") << szArgs;
        EXPECT_TRUE(r.Trace.empty()) << szArgs;
    }
}

TEST(Simulator, BadScriptIsRefusedWithItsLine) {
    SimRun sim;
    SimResult r = sim.Run("0 LEFT\n5 PLUNGER\n", "--frames 10");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.szStderr.find("line 2: unknown key 'PLUNGER'"), std::string::npos) << r.szStderr;
}

TEST(Simulator, RecordedRunReplaysToTheSameTrace) {
    SimRun sim;
    // Into the options, change wins and speed, back out, move on the title, Escape.
    std::string szScript = kToOptions + Taps({{90, "RIGHT"}, {92, "DOWN"}, {96, "LEFT"}, {98, "X"}}) +
                           "130 UP J0=100,40000,3\n150 ESCAPE\n";
    std::string szRecord = sim.Dir() + "/record.txt";
    SimResult a = sim.Run(szScript, "--frames 1000 --record " + szRecord);
    ASSERT_EQ(a.nExit, 0) << a.szStderr;
    ASSERT_EQ(a.Trace.size(), 150u);
    std::ifstream in(szRecord);
    std::string szRecorded((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SimResult b = sim.Run(szRecorded, "--frames 1000");
    EXPECT_EQ(b.nExit, 0);
    EXPECT_EQ(a.Trace, b.Trace);
    EXPECT_EQ(a.Sounds, b.Sounds);
}

// Everything the simulator is given lies in a folder whose name has Japanese and spaces: the
// names reach the program and its files whatever the system's code page.
TEST(Simulator, FilesInAFolderNamedInJapaneseWithSpaces) {
    namespace fs = std::filesystem;
    TempDir temp;
    const fs::path dir = temp.path / fs::u8path("ポムリン の データ");
    MakeDataFolder(dir);
    const fs::path input = dir / fs::u8path("入力 1.txt"), trace = dir / fs::u8path("記録 1.jsonl"),
                   record = dir / fs::u8path("操作 記録.txt");
    std::ofstream(input, std::ios::binary) << Taps({{30, "DOWN"}});
    const int nExit = RunCommand(SimCommand(dir, "--input " + ShellWord(input) + " --frames 40 --trace " +
                                                     ShellWord(trace) + " --record " + ShellWord(record)));
    EXPECT_EQ(nExit, 0);
    std::ifstream in(trace, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string szLine; std::getline(in, szLine);) lines.push_back(szLine);
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(TraceInt(lines[31], "row"), 1);  // the tap moved the title cursor
    EXPECT_GT(fs::file_size(record), 0u);
}

}  // namespace
