// Whole matches through the simulator: title, character select, battle and back.
#include <gtest/gtest.h>

#include <string>

#include "support/sim_run.h"

namespace {

enum { SND_GO = 4, SND_HIT_L = 9, SND_DEATH = 17 };

SimResult Match(SimRun& sim, const char* szScript, int nFrames, const std::string& szExtra = "") {
    SimResult r = sim.Run(ReadFileText(std::string(POMRIN_TEST_DIR) + "/" + szScript),
                          "--frames " + std::to_string(nFrames) + " " + szExtra);
    EXPECT_EQ(r.nExit, 0) << r.szStderr;
    EXPECT_EQ(int(r.Trace.size()), nFrames);
    return r;
}

// Frames on which the running battle changed to nPhase. (On the frame the scene switches to the
// battle, before it has run, the trace still shows the last battle's phase.)
std::vector<int> PhaseStarts(const SimResult& r, int nPhase) {
    std::vector<int> v;
    for (size_t i = 1; i < r.Trace.size(); i++)
        if (TracePhase(r.Trace[i]) == nPhase && TracePhase(r.Trace[i - 1]) != nPhase &&
            TraceInt(r.Trace[i - 1], "scene") == 2)
            v.push_back(int(i));
    return v;
}

int Fighter(const SimResult& r, int nFrame, int nPlayer, const char* szKey) {
    return TraceFighter(r.Trace[size_t(nFrame)], nPlayer, szKey);
}

TEST(Match, TwoPlayerMatchFromTitleAndBackToSelectReplaysIdentically) {
    // Played twice: the same trace, sounds and pictures.
    SimRun sim, again;
    const SimResult r = Match(sim, "match.txt", 2200, "--shot-every 97 --shots " + sim.Dir() + "/shots");
    ASSERT_EQ(r.Trace.size(), 2200u);
    const SimResult r2 = Match(again, "match.txt", 2200, "--shot-every 97 --shots " + again.Dir() + "/shots");
    EXPECT_TRUE(r.szTrace == r2.szTrace);
    EXPECT_TRUE(r.szSounds == r2.szSounds);
    int nShots = 0;
    for (const auto& e : std::filesystem::directory_iterator(sim.Dir() + "/shots")) {
        nShots++;
        EXPECT_TRUE(ReadFileText(e.path()) ==
                    ReadFileText(again.Dir() + "/shots/" + e.path().filename().string()))
            << e.path();
    }
    EXPECT_GE(nShots, 20);

    // Every round starts with 120 ready frames, and the fight starts with the go sound.
    const std::vector<int> ready = PhaseStarts(r, 2), fight = PhaseStarts(r, 3);
    ASSERT_EQ(ready.size(), 4u);
    ASSERT_EQ(fight.size(), 4u);
    for (size_t i = 0; i < 4; i++) EXPECT_EQ(fight[i] - ready[i], 120) << i;
    EXPECT_EQ(SoundFrames(r, SND_GO), fight);

    // Three rounds: player 1 rams player 2 out of the arena; player 2 falls, player 1 scores.
    const std::vector<int> ko = PhaseStarts(r, 4), rams = SoundFrames(r, SND_HIT_L);
    ASSERT_EQ(ko.size(), 3u);
    ASSERT_EQ(rams.size(), 3u);
    EXPECT_EQ(SoundFrames(r, SND_DEATH), ko);
    for (int n = 0; n < 3; n++) {
        EXPECT_LT(fight[n], rams[n]);
        EXPECT_LT(rams[n], ko[n]);
        EXPECT_EQ(Fighter(r, ko[n], 0, "dead"), 0);
        EXPECT_EQ(Fighter(r, ko[n], 1, "dead"), 1);
        EXPECT_EQ(Fighter(r, ko[n], 0, "win"), n);
        // The fall lasts 160 frames; then the score and, before the third win, a new round.
        EXPECT_EQ(TracePhase(r.Trace[ko[n] + 159]), 4);
        EXPECT_EQ(Fighter(r, ko[n] + 160, 0, "win"), n + 1);
        EXPECT_EQ(Fighter(r, ko[n] + 160, 1, "win"), 0);
        EXPECT_EQ(TracePhase(r.Trace[ko[n] + 160]), n < 2 ? 2 : 5);
    }
    // The new round puts the corners back at (128, 96) and (480, 352) pixels.
    EXPECT_EQ(Fighter(r, ko[0] + 160, 0, "x") >> 10, 128);
    EXPECT_EQ(Fighter(r, ko[0] + 160, 0, "y") >> 10, 96);
    EXPECT_EQ(Fighter(r, ko[0] + 160, 1, "x") >> 10, 480);
    EXPECT_EQ(Fighter(r, ko[0] + 160, 1, "y") >> 10, 352);

    // After the result and the 24 fade steps, the release frame switches to character select.
    const std::vector<int> fadeOut = PhaseStarts(r, 6);
    ASSERT_EQ(fadeOut.size(), 1u);
    EXPECT_EQ(TraceInt(r.Trace[fadeOut[0] + 24], "scene"), 2);
    EXPECT_EQ(TraceInt(r.Trace[fadeOut[0] + 25], "scene"), 1);

    // Confirming at once picks the last characters; button 1 runs the kept シールド (bit 1).
    EXPECT_EQ(TraceInt(r.Trace[2140], "scene"), 2);
    EXPECT_EQ(Fighter(r, 2140, 0, "chara"), 0);
    EXPECT_EQ(Fighter(r, 2140, 1, "chara"), 10);
    EXPECT_EQ(Fighter(r, 2140, 0, "win"), 0);
    EXPECT_EQ(Fighter(r, 2140, 0, "skills"), 2);
}

TEST(Match, OneWinNeededEndsTheMatchAtTheFirstKnockOut) {
    SimRun sim;
    sim.WriteOption(OptionBytes(1, 2, 0xF0, 0x3F, 0));  // the defaults but wins needed 1
    const SimResult r = Match(sim, "match.txt", 800);
    const std::vector<int> ko = PhaseStarts(r, 4);
    ASSERT_EQ(ko.size(), 1u);
    EXPECT_EQ(TracePhase(r.Trace[ko[0] + 160]), 5);
    EXPECT_EQ(Fighter(r, ko[0] + 160, 0, "win"), 1);
    EXPECT_EQ(PhaseStarts(r, 2).size(), 1u);
}

TEST(Match, DoubleKnockOutScoresForNobodyAndRepeatsTheRound) {
    SimRun sim;
    const SimResult r = Match(sim, "double_ko.txt", 800);
    const std::vector<int> ko = PhaseStarts(r, 4);
    ASSERT_EQ(ko.size(), 1u);
    EXPECT_EQ(Fighter(r, ko[0], 0, "dead"), 1);
    EXPECT_EQ(Fighter(r, ko[0], 1, "dead"), 1);
    EXPECT_EQ(SoundFrames(r, SND_DEATH), (std::vector<int>{ko[0], ko[0]}));
    // Both bursts share one fall counter: 80 frames, then the same round again with 120 ready.
    EXPECT_EQ(TracePhase(r.Trace[ko[0] + 79]), 4);
    const int nNext = ko[0] + 80;
    EXPECT_EQ(TracePhase(r.Trace[nNext]), 2);
    EXPECT_EQ(Fighter(r, nNext, 0, "win") + Fighter(r, nNext, 1, "win"), 0);
    EXPECT_EQ(Fighter(r, nNext, 0, "dead"), 0);
    EXPECT_EQ(Fighter(r, nNext, 1, "x") >> 10, 480);
    EXPECT_EQ(TracePhase(r.Trace[nNext + 119]), 2);
    EXPECT_EQ(TracePhase(r.Trace[nNext + 120]), 3);
}

// One two-player match written for three sets of controls. Each step: frame, then player 1's
// and player 2's direction ("", "R", "DR"...: the hat names) and buttons held from that frame.
// Title: down to two players, confirm. Select: player 1 moves one character right and takes it,
// player 2 takes his, player 1 puts シールド on button 1, both confirm. Three rounds: player 1
// rolls right, then right-down into player 2 and pushes him out; player 2 rolls up for ten frames
// in the first round and left in the second. Then select again and a second battle.
struct Step {
    int nFrame;
    const char* szDir1;
    int nButtons1;
    const char* szDir2;
    int nButtons2;
};
const Step kTwoPlayerMatch[] = {
    {0, "", 0, "", 0},    {30, "D", 0, "", 0},   {31, "", 0, "", 0},     {35, "", 1, "", 0},
    {36, "", 0, "", 0},   {95, "R", 0, "", 0},   {96, "", 0, "", 0},     {100, "", 1, "", 0},
    {101, "", 0, "", 0},  {105, "", 0, "", 1},   {106, "", 0, "", 0},    {110, "R", 0, "", 0},
    {111, "", 0, "", 0},  {115, "", 1, "", 0},   {116, "", 0, "", 0},    {120, "", 0, "", 1},
    {121, "", 0, "", 0},  {291, "R", 0, "U", 0}, {301, "R", 0, "", 0},   {321, "DR", 0, "", 0},
    {516, "", 0, "", 0},  {796, "R", 0, "L", 0}, {806, "R", 0, "", 0},   {826, "DR", 0, "", 0},
    {1023, "", 0, "", 0}, {1303, "R", 0, "", 0}, {1333, "DR", 0, "", 0}, {1515, "", 0, "", 0},
    {1930, "", 1, "", 0}, {1931, "", 0, "", 0},  {1935, "", 0, "", 1},   {1936, "", 0, "", 0},
    {1945, "", 1, "", 0}, {1946, "", 0, "", 0},  {1950, "", 0, "", 1},   {1951, "", 0, "", 0},
    {2130, "", 1, "", 0}, {2131, "", 0, "", 0},
};
enum Controls { KEYBOARD_AND_PAD, TWO_PADS, ONE_KEYBOARD };

// Keys for a direction and buttons: player 1's arrows and Z X C V, or W A S D and 1 2 3 4.
std::string Keys(const std::string& szDir, int nButtons, bool bLeftHand) {
    static const char* const kKeys[2][8] = {{"UP", "DOWN", "LEFT", "RIGHT", "Z", "X", "C", "V"},
                                            {"W", "S", "A", "D", "1", "2", "3", "4"}};
    std::string s;
    for (int i = 0; i < 4; ++i)
        if (szDir.find("UDLR"[i]) != std::string::npos) s += std::string(" ") + kKeys[bLeftHand][i];
    for (int i = 0; i < 4; ++i)
        if (nButtons & (1 << i)) s += std::string(" ") + kKeys[bLeftHand][4 + i];
    return s;
}

// A pad steering with its stick (bHat false) or its D-pad.
std::string Pad(int nJoy, const std::string& szDir, int nButtons, bool bHat) {
    auto Axis = [&](char cLow, char cHigh) {
        return szDir.find(cLow) != std::string::npos    ? "0"
               : szDir.find(cHigh) != std::string::npos ? "65535"
                                                        : "32767";
    };
    std::string s = " J" + std::to_string(nJoy) + "=";
    if (bHat)
        s += "32767,32767," + std::to_string(nButtons) + "," + (szDir.empty() ? "C" : szDir);
    else
        s += std::string(Axis('L', 'R')) + "," + Axis('U', 'D') + "," + std::to_string(nButtons);
    return s;
}

std::string TwoPlayerScript(Controls controls) {
    std::string s;
    for (const Step& step : kTwoPlayerMatch) {
        s += std::to_string(step.nFrame);
        if (controls == TWO_PADS)
            s += Pad(0, step.szDir1, step.nButtons1, true) + Pad(1, step.szDir2, step.nButtons2, false);
        else if (controls == KEYBOARD_AND_PAD)
            s += Keys(step.szDir1, step.nButtons1, false) + Pad(0, step.szDir2, step.nButtons2, false);
        else
            s += Keys(step.szDir1, step.nButtons1, false) + Keys(step.szDir2, step.nButtons2, true);
        s += "\n";
    }
    return s;
}

// The same match played with the keyboard and a pad, with two pads (player 1 on the D-pad, no
// keyboard) and with two players at one keyboard through the shipped key file gives one trace.
TEST(Match, SameMatchWithKeyboardAndPadTwoPadsOrOneKeyboardForTwo) {
    SimRun sims[3];
    std::string szTrace[3], szSounds[3];
    ASSERT_TRUE(sims[ONE_KEYBOARD].WriteTwoPlayerKeyFile());
    for (int c = 0; c < 3; ++c) {
        const SimResult r = sims[c].Run(TwoPlayerScript(Controls(c)), "--frames 2200");
        ASSERT_EQ(r.nExit, 0) << r.szStderr;
        szTrace[c] = r.szTrace;
        szSounds[c] = r.szSounds;
        ASSERT_EQ(r.Trace.size(), 2200u);
        EXPECT_EQ(Fighter(r, 300, 0, "chara"), 1) << c;  // one step right from the first character
        EXPECT_EQ(PhaseStarts(r, 4).size(), 3u) << c;    // three knock-outs, then the result
        EXPECT_EQ(PhaseStarts(r, 5).size(), 1u) << c;
    }
    EXPECT_TRUE(szTrace[TWO_PADS] == szTrace[KEYBOARD_AND_PAD]);
    EXPECT_TRUE(szSounds[TWO_PADS] == szSounds[KEYBOARD_AND_PAD]);
    EXPECT_TRUE(szTrace[ONE_KEYBOARD] == szTrace[KEYBOARD_AND_PAD]);
    EXPECT_TRUE(szSounds[ONE_KEYBOARD] == szSounds[KEYBOARD_AND_PAD]);
}

}  // namespace
