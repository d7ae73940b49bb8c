// Whole matches through the simulator: title, character select, battle and back.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/sim_run.h"

namespace {

enum { SND_GO = 4, SND_HIT_L = 9, SND_DEATH = 17 };

SimResult Match(SimRun& sim, const char* szScript, int nFrames) {
    SimResult r = sim.Run(ReadFileText(std::string(POMRIN_TEST_DIR) + "/" + szScript),
                          "--frames " + std::to_string(nFrames));
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

// (That a run repeats exactly is the soak's check, which plays every session twice; the web and
// Windows legs compare this match's pictures byte for byte across builds.)
TEST(Match, TwoPlayerMatchFromTitleAndBackToSelect) {
    SimRun sim;
    const SimResult r = Match(sim, "match.txt", 2200);
    ASSERT_EQ(r.Trace.size(), 2200u);

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
        EXPECT_EQ(std::tuple(Fighter(r, ko[n], 0, "dead"), Fighter(r, ko[n], 1, "dead"),
                             Fighter(r, ko[n], 0, "win")),
                  std::tuple(0, 1, n));
        // The fall lasts 160 frames; then the score and, before the third win, a new round.
        EXPECT_EQ(TracePhase(r.Trace[ko[n] + 159]), 4);
        EXPECT_EQ(std::tuple(Fighter(r, ko[n] + 160, 0, "win"), Fighter(r, ko[n] + 160, 1, "win")),
                  std::tuple(n + 1, 0));
        EXPECT_EQ(TracePhase(r.Trace[ko[n] + 160]), n < 2 ? 2 : 5);
    }
    // The new round puts the corners back at (128, 96) and (480, 352) pixels.
    const int nRound = ko[0] + 160;
    EXPECT_EQ(std::tuple(Fighter(r, nRound, 0, "x") >> 10, Fighter(r, nRound, 0, "y") >> 10,
                         Fighter(r, nRound, 1, "x") >> 10, Fighter(r, nRound, 1, "y") >> 10),
              std::tuple(128, 96, 480, 352));

    // After the result and the 24 fade steps, the release frame switches to character select.
    const std::vector<int> fadeOut = PhaseStarts(r, 6);
    ASSERT_EQ(fadeOut.size(), 1u);
    EXPECT_EQ(TraceInt(r.Trace[fadeOut[0] + 24], "scene"), 2);
    EXPECT_EQ(TraceInt(r.Trace[fadeOut[0] + 25], "scene"), 1);

    // Confirming at once picks the last characters; button 1 runs the kept シールド (bit 1).
    EXPECT_EQ(
        std::tuple(TraceInt(r.Trace[2140], "scene"), Fighter(r, 2140, 0, "chara"),
                   Fighter(r, 2140, 1, "chara"), Fighter(r, 2140, 0, "win"), Fighter(r, 2140, 0, "skills")),
        std::tuple(2, 0, 10, 0, 2));
}

TEST(Match, DoubleKnockOutScoresForNobodyAndRepeatsTheRound) {
    SimRun sim;
    const SimResult r = Match(sim, "double_ko.txt", 800);
    const std::vector<int> ko = PhaseStarts(r, 4);
    ASSERT_EQ(ko.size(), 1u);
    EXPECT_EQ(std::tuple(Fighter(r, ko[0], 0, "dead"), Fighter(r, ko[0], 1, "dead")), std::tuple(1, 1));
    EXPECT_EQ(SoundFrames(r, SND_DEATH), (std::vector<int>{ko[0], ko[0]}));
    // Both bursts share one fall counter: 80 frames, then the same round again with 120 ready.
    EXPECT_EQ(TracePhase(r.Trace[ko[0] + 79]), 4);
    const int nNext = ko[0] + 80;
    EXPECT_EQ(
        std::tuple(TracePhase(r.Trace[nNext]), Fighter(r, nNext, 0, "win") + Fighter(r, nNext, 1, "win"),
                   Fighter(r, nNext, 0, "dead"), Fighter(r, nNext, 1, "x") >> 10),
        std::tuple(2, 0, 0, 480));
    EXPECT_EQ(std::tuple(TracePhase(r.Trace[nNext + 119]), TracePhase(r.Trace[nNext + 120])),
              std::tuple(2, 3));
}

}  // namespace
