// The whole game driven through the simulator: title, quitting, start-up paths, its own files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "support/sim_run.h"

namespace {

// Two players from the title; player 1 (keyboard) and player 2 (joystick 0) each confirm a
// character and their skills: the battle runs from about frame 200.
const std::string kToBattle = Taps({{30, "DOWN"}, {35, "Z"}, {100, "Z"}}) +
                              "105 J0=32767,32767,1\n106 J0=32767,32767,0\n" + Taps({{115, "Z"}}) +
                              "120 J0=32767,32767,1\n121 J0=32767,32767,0\n";

// Button 1 is ignored during the fade-in (frames 0..23); a held direction then repeats on its
// 1st, 25th, 33rd and 41st frames and wraps from the last row to the first.
TEST(Title, FadeInIgnoresButton1AndHeldDownRepeatsOnFrames1_25_33_41AndWraps) {
    SimRun sim;
    SimResult r = sim.Run(Taps({{5, "Z"}}) + "30 DOWN\n80\n", "--frames 90");
    ASSERT_EQ(r.nExit, 0) << r.szStderr;
    ASSERT_EQ(r.Trace.size(), 90u);
    EXPECT_EQ(std::tuple(TraceInt(r.Trace[22], "state"), TraceInt(r.Trace[23], "state")), std::tuple(0, 1));
    for (const std::string& line : r.Trace) EXPECT_EQ(TraceInt(line, "scene"), 0);
    EXPECT_TRUE(SoundFrames(r, 1).empty());
    EXPECT_EQ(SoundFrames(r, 0), (std::vector<int>{30, 54, 62, 70, 78}));
    std::vector<int> rows;
    for (int f : {29, 30, 54, 62, 69, 70}) rows.push_back(TraceInt(r.Trace[size_t(f)], "row"));
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 3, 0}));
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
        {"quit row", Taps(30, 2, "DOWN DOWN DOWN Z"), 37, 0},
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
        EXPECT_EQ(std::tuple(r.nExit, r.szStderr, r.Trace.size()),
                  std::tuple(nExit, std::string(szBox) + "\n", 0u))
            << szArgs;
    }
}

TEST(Simulator, BadScriptIsRefusedWithItsLine) {
    SimRun sim;
    SimResult r = sim.Run("0 LEFT\n5 PLUNGER\n", "--frames 10");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.szStderr.find("line 2: unknown key 'PLUNGER'"), std::string::npos) << r.szStderr;
}

// Everything the simulator is given lies in a folder whose name has Japanese and spaces: the
// names reach the program and its files whatever the system's code page. The run it records
// (into the options, wins and speed changed, back out, a joystick on the title, Escape) replays
// to the same trace and sounds.
TEST(Simulator, RecordsAndReplaysInAFolderNamedInJapaneseWithSpaces) {
    namespace fs = std::filesystem;
    TempDir temp;
    const fs::path dir = temp.path / fs::u8path("ポムリン の データ");
    MakeDataFolder(dir);
    const fs::path input = dir / fs::u8path("入力 1.txt"), trace = dir / fs::u8path("記録 1.jsonl"),
                   record = dir / fs::u8path("操作 記録.txt"), sounds = dir / fs::u8path("音 1.txt");
    std::ofstream(input, std::ios::binary)
        << kToOptions + Taps({{90, "RIGHT"}, {92, "DOWN"}, {96, "LEFT"}, {98, "X"}}) +
               "130 UP J0=100,40000,3\n150 ESCAPE\n";
    const int nExit = RunCommand(SimCommand(dir, "--input " + ShellWord(input) + " --frames 1000 --trace " +
                                                     ShellWord(trace) + " --record " + ShellWord(record) +
                                                     " --sounds " + ShellWord(sounds)));
    EXPECT_EQ(nExit, 0);
    std::ifstream in(trace, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string szLine; std::getline(in, szLine);) lines.push_back(szLine);
    ASSERT_EQ(lines.size(), 150u);
    EXPECT_EQ(TraceInt(lines[31], "row"), 1);  // the tap moved the title cursor

    SimRun sim;
    const SimResult r = sim.Run(ReadFileText(record), "--frames 1000");
    EXPECT_EQ(std::tuple(r.nExit, r.Trace, r.szSounds), std::tuple(0, lines, ReadFileText(sounds)));
}

}  // namespace
