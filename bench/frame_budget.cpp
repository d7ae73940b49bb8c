// The frame budget: whole frames as the game runs them (pacing, input, the scene, the present)
// plus the conversion of the presented picture to 32-bit colour that the window backend does.
// Each reports the median, 99th percentile and slowest frame in thread CPU time, which a
// busy machine's preemption does not inflate, besides Google Benchmark's mean.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

#include "app/frame.h"
#include "app/game_main.h"
#include "app/option.h"
#include "battle/battle_scene.h"
#include "platform/headless/headless.h"
#include "platform/plat_input.h"
#include "platform/plat_system.h"
#include "platform/sdl/frame_convert.h"

namespace {

double ThreadMicros() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

std::array<uint32_t, 256> g_Lut;
std::vector<uint32_t> g_Texture(640 * 480);

bool StartGame() {
    static bool bStarted = false;
    if (bStarted) return true;
    if (chdir(POMRIN_DATA_DIR) != 0) return false;
    Headless_Reset();
    if (!Plat_Init() || !Plat_CreateWindow("bench", 640, 480) || !GameInit()) return false;
    for (int i = 0; i < 256; ++i) g_Lut[size_t(i)] = 0xFF000000u | uint32_t(i) * 0x010203u;
    bStarted = true;
    return true;
}

bool InFight() {
    return g_nScene == SCENE_BATTLE && g_nBattleStep == 1 && g_nBattlePhase == PHASE_FIGHT;
}

// Button 1 every 20 frames until bDone: from the title (first row, VS COM) through select.
template <typename F>
bool DriveUntil(F bDone) {
    for (int nFrame = 0; nFrame < 20000; ++nFrame) {
        if (bDone()) return true;
        Headless_ReleaseAllKeys();
        Headless_SetKey('Z', nFrame % 20 == 10);
        GameFrame();
        Headless_Plays().clear();
    }
    return false;
}

void PlayerKeys(int nFrame) {
    static constexpr int kPattern[6][2] = {{VK_RIGHT, VK_DOWN}, {0, 0}, {VK_LEFT, 0}, {'Z', 0}, {VK_UP, 'X'}, {VK_DOWN, 0}};
    Headless_ReleaseAllKeys();
    for (int nVk : kPattern[(nFrame / 40) % 6])
        if (nVk) Headless_SetKey(nVk, true);
}

// One whole frame and the present conversion, timed one by one.
template <typename K>
void TimedFrames(benchmark::State& state, K keys, bool (*lpfnStay)()) {
    std::vector<double> times;
    times.reserve(1 << 20);
    int nFrame = 0;
    for (auto _ : state) {
        if (lpfnStay && !lpfnStay()) {
            state.PauseTiming();
            DriveUntil(lpfnStay);
            state.ResumeTiming();
        }
        keys(nFrame++);
        const double t0 = ThreadMicros();
        GameFrame();
        ConvertFrame(Headless_FramePixels().data(), Headless_FrameWidth(), Headless_FrameWidth(),
                     Headless_FrameHeight(), g_Lut.data(), reinterpret_cast<uint8_t*>(g_Texture.data()), 640 * 4);
        benchmark::DoNotOptimize(g_Texture.data());
        const double t1 = ThreadMicros();
        Headless_Plays().clear();
        if (times.size() < times.capacity()) times.push_back(t1 - t0);
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    state.counters["max_us"] = times.back();
}

void BM_VsComBattleFrameStrength4(benchmark::State& state) {
    if (!StartGame()) return state.SkipWithError("the game could not start");
    g_Option.nComLevel = 4;
    g_Option.nWinCount = 5;
    g_Option.nBattleMode = 0;
    g_nScene = SCENE_TITLE;
    if (!DriveUntil(InFight)) return state.SkipWithError("no fight reached");
    TimedFrames(state, PlayerKeys, InFight);
}

void BM_TitleFrame(benchmark::State& state) {
    if (!StartGame()) return state.SkipWithError("the game could not start");
    // Out of whatever scene the last benchmark left, back to a title that has settled.
    for (int i = 0; i < 600 && g_nScene != SCENE_TITLE; ++i) {
        Headless_ReleaseAllKeys();
        Headless_SetKey('X', i % 20 == 10);
        GameFrame();
    }
    Headless_ReleaseAllKeys();
    for (int i = 0; i < 300; ++i) GameFrame();
    TimedFrames(state, [](int) {}, nullptr);
}

bool InSelect() {
    return g_nScene == SCENE_SELECT;
}

void BM_SelectFrameWithText(benchmark::State& state) {
    if (!StartGame()) return state.SkipWithError("the game could not start");
    if (!DriveUntil(InSelect)) return state.SkipWithError("no select reached");
    // The cursor wanders so names and skill texts change while nothing is decided.
    TimedFrames(
        state,
        [](int n) {
            Headless_ReleaseAllKeys();
            Headless_SetKey(n % 60 < 30 ? VK_RIGHT : VK_DOWN, n % 15 == 0);
        },
        InSelect);
}

}  // namespace

BENCHMARK(BM_VsComBattleFrameStrength4)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond)->Iterations(5000);
BENCHMARK(BM_SelectFrameWithText)->Unit(benchmark::kMicrosecond)->Iterations(5000);
