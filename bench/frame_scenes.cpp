// One whole frame of the menu scenes on the headless backend: pacing on the virtual clock,
// input, the scene's drawing and the present.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/frame.h"
#include "app/game_main.h"
#include "platform/headless/headless.h"
#include "platform/plat_system.h"

namespace {

// Started once: GameRelease frees every picture but leaves the scenes' steps as they were,
// so a second start would run a title that believes its pictures are loaded and draws none.
bool StartGame(int32_t nScene) {
    static bool bStarted = false;
    if (!bStarted) {
        if (chdir(POMRIN_DATA_DIR) != 0) return false;
        Headless_Reset();
        if (!Plat_Init() || !Plat_CreateWindow("bench", 640, 480) || !GameInit()) return false;
        bStarted = true;
    }
    g_nScene = nScene;
    for (int i = 0; i < 30; ++i) GameFrame();  // past the fade-in
    return true;
}

void RunFrames(benchmark::State& state, int32_t nScene) {
    if (!StartGame(nScene)) {
        state.SkipWithError("the game could not start");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(GameFrame());
}

void BM_TitleMenuFrame(benchmark::State& state) {
    RunFrames(state, SCENE_TITLE);
}
void BM_OptionsMenuFrame(benchmark::State& state) {
    RunFrames(state, SCENE_OPTION);
}

}  // namespace

BENCHMARK(BM_TitleMenuFrame);
BENCHMARK(BM_OptionsMenuFrame);
