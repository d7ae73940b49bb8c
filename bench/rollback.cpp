// Rollback costs in a VS COM fight at strength 4: saving and restoring the whole state, and a
// fight frame that rolls back eight frames (restore, eight frames simulated again without
// drawing, then the frame itself drawn), as a net session does when a late input differs from
// its guess. Frame times are thread CPU time, reported as median, 99th percentile and worst.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "app/frame.h"
#include "app/game_main.h"
#include "app/game_state.h"
#include "app/option.h"
#include "battle/battle_scene.h"
#include "gfx/surface.h"
#include "platform/headless/headless.h"
#include "platform/plat_input.h"
#include "platform/plat_system.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t kRing = ROLLBACK_FRAMES + 1;
uint32_t g_dwRaw[kRing][2];
bool g_bFightAt[kRing];

double ThreadMicros() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

bool InFight() {
    return g_nScene == SCENE_BATTLE && g_nBattleStep == 1 && g_nBattlePhase == PHASE_FIGHT;
}

void Keys(uint32_t dwFrame, bool bFight) {
    static constexpr int kPattern[6][2] = {{VK_RIGHT, VK_DOWN}, {0, 0},      {VK_LEFT, 0}, {'Z', 0},
                                           {VK_UP, 'X'},        {VK_DOWN, 0}};
    Headless_ReleaseAllKeys();
    if (!bFight) {
        // Title and select: button 1 every 20 frames leads to the next fight.
        Headless_SetKey('Z', dwFrame % 20 == 10);
        return;
    }
    for (int nVk : kPattern[(dwFrame / 40) % 6])
        if (nVk) Headless_SetKey(nVk, true);
}

// A VS COM match at strength 4 that never ends, in its fight.
bool StartFight() {
    static bool bStarted = false;
    if (!bStarted) {
        if (chdir(POMRIN_DATA_DIR) != 0) return false;
        Headless_Reset();
        if (!Plat_Init() || !Plat_CreateWindow("bench", 640, 480) || !GameInit()) return false;
        g_Option.nComLevel = 4;
        g_Option.nWinCount = 5;
        g_Option.nBattleMode = 0;
        bStarted = true;
    }
    for (uint32_t n = 0; n < 20000 && !InFight(); ++n) {
        Keys(n, false);
        GameFrame();
        Headless_Plays().clear();
    }
    return InFight();
}

void BM_StateSave(benchmark::State& state) {
    if (!StartFight()) return state.SkipWithError("no fight reached");
    for (auto _ : state) {
        GameStateSave(GameStateSlot(0));
        benchmark::DoNotOptimize(GameStateSlot(0)->bData[0]);
    }
    state.counters["bytes"] = GameStateSlot(0)->nSize;
}

void BM_StateRestore(benchmark::State& state) {
    if (!StartFight()) return state.SkipWithError("no fight reached");
    GameStateSave(GameStateSlot(0));
    for (auto _ : state) GameStateRestore(GameStateSlot(0));
}

void BM_StateChecksum(benchmark::State& state) {
    if (!StartFight()) return state.SkipWithError("no fight reached");
    GameStateSave(GameStateSlot(0));
    for (auto _ : state) benchmark::DoNotOptimize(GameStateChecksum(GameStateSlot(0)));
}

void BM_FightFrameRollingBackEight(benchmark::State& state) {
    if (!StartFight()) return state.SkipWithError("no fight reached");
    std::vector<double> times;
    times.reserve(1 << 20);
    uint32_t dwFrame = 0;
    for (auto _ : state) {
        const bool bFight = InFight();
        const uint32_t nSlot = dwFrame % kRing;
        Keys(dwFrame, bFight);
        bool bBack = bFight && dwFrame >= ROLLBACK_FRAMES;
        for (uint32_t f = dwFrame - ROLLBACK_FRAMES; bBack && f < dwFrame; ++f) bBack = g_bFightAt[f % kRing];
        const double t0 = ThreadMicros();
        GameStateSave(GameStateSlot(dwFrame));
        if (bBack) {
            GameStateRestore(GameStateSlot(dwFrame - ROLLBACK_FRAMES));
            g_bDrawOff = 1;
            for (uint32_t f = dwFrame - ROLLBACK_FRAMES; f < dwFrame; ++f) {
                DSFrameBegin(f, false);
                GameStep(g_dwRaw[f % kRing]);
            }
            g_bDrawOff = 0;
        }
        DSFrameBegin(dwFrame, false);
        GameFrame();
        const double t1 = ThreadMicros();
        g_bFightAt[nSlot] = bFight;
        g_dwRaw[nSlot][0] = g_dwFrameInput[0];
        g_dwRaw[nSlot][1] = g_dwFrameInput[1];
        Headless_Plays().clear();
        if (bBack && times.size() < times.capacity()) times.push_back(t1 - t0);
        ++dwFrame;
    }
    DSFrameReset();
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    state.counters["frames"] = double(times.size());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    state.counters["max_us"] = times.back();
}

}  // namespace

BENCHMARK(BM_StateSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateRestore)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateChecksum)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FightFrameRollingBackEight)->Unit(benchmark::kMicrosecond)->Iterations(20000);
