// Whole matches through the simulator: title, character select, battle and back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FIGHTER {
    int x, y, win, dead, chara, skill0;
};
struct FRAME {
    int nFrame, nScene, nPhase;
    FIGHTER p[2];
};
struct RUN {
    std::vector<FRAME> Frames;
    std::vector<std::pair<int, int>> Sounds;  // frame, sound number
    std::string szTrace, szSounds;
};

// The integer after "key": at or after nFrom; -1 when absent.
int IntAfter(const std::string& s, const char* szKey, size_t nFrom = 0) {
    const std::string k = std::string("\"") + szKey + "\":";
    const size_t n = s.find(k, nFrom);
    if (n == std::string::npos) return -1;
    size_t i = n + k.size();
    if (s[i] == '[') i++;
    return std::atoi(s.c_str() + i);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A data folder beside the build's, sharing its pictures and sounds, with its own settings.
fs::path DataWithWinCount(int nWinCount) {
    const fs::path dir = fs::path(POMRIN_BINARY_DIR) / ("match_data_win" + std::to_string(nWinCount));
    fs::create_directories(dir / "user_data");
    for (const char* sz : {"bmp", "wav"})
        if (!fs::exists(dir / sz)) fs::create_directory_symlink(fs::path(POMRIN_DATA_DIR) / sz, dir / sz);
    // Option.dat: wins, defence x3 = 3, COM level 2, padding, speed 1.0, normal mode, padding.
    unsigned char bytes[40] = {};
    bytes[0] = uint8_t(nWinCount);
    bytes[4] = bytes[8] = bytes[12] = 3;
    bytes[16] = 2;
    bytes[30] = 0xF0;
    bytes[31] = 0x3F;
    std::ofstream(dir / "user_data" / "Option.dat", std::ios::binary)
        .write(reinterpret_cast<char*>(bytes), 40);
    return dir;
}

RUN Sim(const char* szScript, int nFrames, const fs::path& data, const std::string& szExtra = "") {
    // Tests may run in parallel processes: each gets its own output folder.
    static int s_nRun = 0;
    const fs::path out = fs::path(POMRIN_BINARY_DIR) / "match_out" /
                         (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                          std::to_string(s_nRun++));
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string cmd = std::string(POMRIN_BINARY_DIR) + "/tools/pomrin-sim --data " + data.string() +
                            " --input " + POMRIN_TEST_DIR + "/" + szScript + " --frames " +
                            std::to_string(nFrames) + " --trace " + (out / "trace.jsonl").string() +
                            " --sounds " + (out / "sounds.txt").string() + " " + szExtra;
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    RUN run;
    run.szTrace = ReadAll(out / "trace.jsonl");
    run.szSounds = ReadAll(out / "sounds.txt");
    std::istringstream trace(run.szTrace);
    for (std::string line; std::getline(trace, line);) {
        const size_t nBattle = line.find("\"battle\":");
        FRAME f{IntAfter(line, "frame"),
                IntAfter(line, "scene"),
                nBattle == std::string::npos ? -1 : IntAfter(line, "phase", nBattle),
                {}};
        const size_t n2 = line.find("\"p2\":");
        for (int p = 0; p < 2 && f.nPhase >= 0; p++) {
            const size_t at = p == 0 ? line.find("\"p1\":") : n2;
            f.p[p] = FIGHTER{IntAfter(line, "x", at) >> 10, IntAfter(line, "y", at) >> 10,
                             IntAfter(line, "win", at),     IntAfter(line, "dead", at),
                             IntAfter(line, "chara", at),   IntAfter(line, "skills", at)};
        }
        run.Frames.push_back(f);
    }
    std::istringstream sounds(run.szSounds);
    for (int nFrame, nSound; sounds >> nFrame >> nSound;) run.Sounds.emplace_back(nFrame, nSound);
    return run;
}

// Frames on which the running battle changed to phase nPhase. (On the frame the scene switches
// to the battle, before it has run, the trace still shows the last battle's phase.)
std::vector<int> PhaseStarts(const RUN& run, int nPhase) {
    std::vector<int> v;
    for (size_t i = 1; i < run.Frames.size(); i++)
        if (run.Frames[i].nPhase == nPhase && run.Frames[i - 1].nPhase != nPhase &&
            run.Frames[i - 1].nScene == 2)
            v.push_back(run.Frames[i].nFrame);
    return v;
}

std::vector<int> SoundFrames(const RUN& run, int nSound) {
    std::vector<int> v;
    for (auto [f, n] : run.Sounds)
        if (n == nSound) v.push_back(f);
    return v;
}

enum { SND_GO = 4, SND_HIT_L = 9, SND_DEATH = 17 };

TEST(Match, TwoPlayerMatchFromTitleAndBackToSelect) {
    const RUN run = Sim("match.txt", 2200, POMRIN_DATA_DIR);
    ASSERT_EQ(run.Frames.size(), 2200u);
    // Every round starts with 120 ready frames, and the fight starts with the go sound.
    const std::vector<int> ready = PhaseStarts(run, 2), fight = PhaseStarts(run, 3);
    ASSERT_EQ(ready.size(), 4u);
    ASSERT_EQ(fight.size(), 4u);
    for (size_t i = 0; i < 4; i++) EXPECT_EQ(fight[i] - ready[i], 120) << i;
    EXPECT_EQ(SoundFrames(run, SND_GO), fight);

    // Three rounds: player 1 rams player 2 out of the arena; player 2 falls, player 1 scores.
    const std::vector<int> ko = PhaseStarts(run, 4);
    ASSERT_EQ(ko.size(), 3u);
    EXPECT_EQ(SoundFrames(run, SND_DEATH), ko);
    const std::vector<int> rams = SoundFrames(run, SND_HIT_L);
    ASSERT_EQ(rams.size(), 3u);
    for (int r = 0; r < 3; r++) {
        EXPECT_LT(fight[r], rams[r]);
        EXPECT_LT(rams[r], ko[r]);
        const FRAME& f = run.Frames[ko[r]];
        EXPECT_EQ(f.p[0].dead, 0);
        EXPECT_EQ(f.p[1].dead, 1);
        EXPECT_EQ(f.p[0].win, r);
        // The fall lasts 160 frames; then the score and, before the third win, a new round.
        EXPECT_EQ(run.Frames[ko[r] + 159].nPhase, 4);
        EXPECT_EQ(run.Frames[ko[r] + 160].p[0].win, r + 1);
        EXPECT_EQ(run.Frames[ko[r] + 160].p[1].win, 0);
        EXPECT_EQ(run.Frames[ko[r] + 160].nPhase, r < 2 ? 2 : 5);
    }
    const FRAME& reset = run.Frames[ko[0] + 160];
    EXPECT_EQ(reset.p[0].x, 128);
    EXPECT_EQ(reset.p[0].y, 96);
    EXPECT_EQ(reset.p[1].x, 480);
    EXPECT_EQ(reset.p[1].y, 352);

    // The match is over at three wins; after the result and the fade, character select.
    const std::vector<int> fadeOut = PhaseStarts(run, 6);
    ASSERT_EQ(fadeOut.size(), 1u);
    int nBack = 0;
    for (size_t i = fadeOut[0]; i < run.Frames.size(); i++)
        if (run.Frames[i].nScene == 1) {
            nBack = run.Frames[i].nFrame;
            break;
        }
    EXPECT_EQ(nBack, fadeOut[0] + 25);  // 24 fade steps, then the release frame

    // Confirming at once picks the last characters; button 1 runs the kept シールド (bit 1).
    const FRAME& again = run.Frames[2140];
    EXPECT_EQ(again.nScene, 2);
    EXPECT_EQ(again.p[0].chara, 0);
    EXPECT_EQ(again.p[1].chara, 10);
    EXPECT_EQ(again.p[0].win, 0);
    EXPECT_EQ(again.p[0].skill0, 2);
}

TEST(Match, OneWinNeededEndsTheMatchAtTheFirstKnockOut) {
    const RUN run = Sim("match.txt", 800, DataWithWinCount(1));
    const std::vector<int> ko = PhaseStarts(run, 4);
    ASSERT_EQ(ko.size(), 1u);
    EXPECT_EQ(run.Frames[ko[0] + 160].nPhase, 5);
    EXPECT_EQ(run.Frames[ko[0] + 160].p[0].win, 1);
    EXPECT_EQ(PhaseStarts(run, 2).size(), 1u);
}

TEST(Match, DoubleKnockOutScoresForNobodyAndRepeatsTheRound) {
    const RUN run = Sim("double_ko.txt", 800, POMRIN_DATA_DIR);
    const std::vector<int> ko = PhaseStarts(run, 4);
    ASSERT_EQ(ko.size(), 1u);
    const FRAME& fall = run.Frames[ko[0]];
    EXPECT_EQ(fall.p[0].dead, 1);
    EXPECT_EQ(fall.p[1].dead, 1);
    EXPECT_EQ(SoundFrames(run, SND_DEATH), (std::vector<int>{ko[0], ko[0]}));
    // Both bursts share one counter: 80 frames.
    EXPECT_EQ(run.Frames[ko[0] + 79].nPhase, 4);
    const FRAME& next = run.Frames[ko[0] + 80];
    EXPECT_EQ(next.nPhase, 2);
    EXPECT_EQ(next.p[0].win, 0);
    EXPECT_EQ(next.p[1].win, 0);
    EXPECT_EQ(next.p[0].dead, 0);
    EXPECT_EQ(next.p[1].x, 480);
    EXPECT_EQ(run.Frames[ko[0] + 200].nPhase, 3);
}

TEST(Match, ReplayIsIdentical) {
    const std::string shots = "--shot-every 97 --shots ";
    const fs::path a = fs::path(POMRIN_BINARY_DIR) / "match_shots_a",
                   b = fs::path(POMRIN_BINARY_DIR) / "match_shots_b";
    fs::remove_all(a);
    fs::remove_all(b);
    fs::create_directories(a);
    fs::create_directories(b);
    const RUN r1 = Sim("match.txt", 2200, POMRIN_DATA_DIR, shots + a.string());
    const RUN r2 = Sim("match.txt", 2200, POMRIN_DATA_DIR, shots + b.string());
    EXPECT_FALSE(r1.szTrace.empty());
    EXPECT_TRUE(r1.szTrace == r2.szTrace);
    EXPECT_TRUE(r1.szSounds == r2.szSounds);
    int nShots = 0;
    for (const auto& e : fs::directory_iterator(a)) {
        nShots++;
        EXPECT_TRUE(ReadAll(e.path()) == ReadAll(b / e.path().filename())) << e.path();
    }
    EXPECT_GE(nShots, 20);
}

}  // namespace
